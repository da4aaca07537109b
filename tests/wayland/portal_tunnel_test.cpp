// The window tunnel's Wayland path, run as a Wayland client inside the headless sway session:
// a window of ours painted one colour, shared through the desktop's portal, arrives as tile
// frames of that colour; a closed tile stops; the picker tells a desktop that shares no single
// windows; a dialog the user closes shows nothing. The portal here offers whole screens only, so
// the screen stands for the window: the same code reads either stream.
//   usage: portal_tunnel_tests CHOOSER-ANSWER-FILE
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRasterWindow>
#include <QTest>
#include <optional>

#include "board_bridge.h"
#include "display_session.h"
#include "tunnel_list_model.h"
#include "window_tunnel.h"

namespace dravin {
namespace {

QString chooserAnswer;

void answerChooser(const QByteArray& output) {
  QFile file(chooserAnswer);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(output);
}

class Painted : public QRasterWindow {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(QRect(QPoint(0, 0), size()), QColor(200, 30, 40));
  }
};

QImage decode(const QString& dataUrl) {
  const QString prefix = QStringLiteral("data:image/jpeg;base64,");
  if (!dataUrl.startsWith(prefix)) return {};
  return QImage::fromData(QByteArray::fromBase64(dataUrl.mid(prefix.size()).toLatin1()), "JPEG");
}

TEST(PortalTunnel, SharedStreamsBecomeTiles) {
  ASSERT_EQ(displaySession(), DisplaySession::wayland);
  Painted window;
  window.showFullScreen();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(500);  // the compositor shows it

  WindowTunnel tunnel({}, -1, DisplaySession::wayland);
  tunnel.connectBridge(BoardBridge::instance());
  EXPECT_TRUE(tunnel.usesPortal());
  EXPECT_FALSE(tunnel.hasDisplay()) << "no X on Wayland, even where XWayland runs";
  EXPECT_TRUE(tunnel.refreshWindows().empty());

  {  // this desktop's portal shares screens only: the picker says so and asks nothing
    TunnelListModel picker(&tunnel);
    picker.choosePortalWindow();
    EXPECT_FALSE(picker.portalAsking());
    EXPECT_FALSE(picker.portalOffersWindows());
    EXPECT_TRUE(picker.portalNote().contains("whole screens only"))
        << picker.portalNote().toStdString();
  }

  // The portal's dialog answered with `answer` (an output's name, or nothing as when it is
  // closed): whether a tile was shown, and the failure's text.
  auto share = [&](const QByteArray& answer) {
    answerChooser(answer);
    std::optional<std::pair<bool, QString>> result;
    tunnel.choosePortalWindow(
        [&](bool shown, QString error) {
          result = {shown, error};
        },
        ScreenCastSource::monitor);
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 15000));
    return result.value_or(std::pair<bool, QString>{false, QStringLiteral("no answer")});
  };

  {  // the user closes the dialog: nothing is shown, no failure is claimed
    const auto closed = share("");
    EXPECT_FALSE(closed.first);
    EXPECT_EQ(closed.second, QString());
    EXPECT_EQ(tunnel.selectedWindowNumber(), 0);
  }

  const auto result = share("HEADLESS-1\n");
  ASSERT_TRUE(result.first) << result.second.toStdString();
  const int number = tunnel.selectedWindowNumber();
  ASSERT_GT(number, 0);

  // The tile's frames show what is shared, and keep coming while the screen is still.
  QImage frame;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return !(frame = decode(tunnel.frameDataUrl(number))).isNull(); }, 15000));
  const QColor middle = frame.pixelColor(frame.width() / 2, frame.height() / 2);
  EXPECT_NEAR(middle.red(), 200, 24);
  EXPECT_NEAR(middle.green(), 30, 24);
  EXPECT_NEAR(middle.blue(), 40, 24);
  EXPECT_GE(frame.width(), 1280);
  QTest::qWait(300);
  EXPECT_FALSE(decode(tunnel.frameDataUrl(number)).isNull());

  // No program moves another's window here.
  EXPECT_FALSE(tunnel.controlWindow(number, QRect(0, 0, 100, 100)));

  // The page closes the tile: sharing stops and no frame is left.
  BoardBridge::instance().postMessage(
      QVariantMap{{"type", "closeTunnel"}, {"windowNumber", number}});
  EXPECT_EQ(tunnel.frameDataUrl(number), QString());
}

}  // namespace
}  // namespace dravin

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: portal_tunnel_tests CHOOSER-ANSWER-FILE\n");
    return 2;
  }
  dravin::chooserAnswer = QString::fromLocal8Bit(argv[1]);
  return RUN_ALL_TESTS();
}
