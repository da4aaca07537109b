#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <optional>

#include "format_choice.h"
#include "second_camera_controller.h"

namespace dravin {

// The document camera runs no faster than this.
inline constexpr double kDocCamMaxFrameRate = 33.0;

// The document camera's format: the camera's HD format at rates up to 33 a second, or its
// default format when it has no HD format.
FormatChoice docCamFormat(const TarvoCamera& camera);

// The document camera: a second camera whose frames also feed the board's live tile, prepared
// on the "doccam_controller" queue. Its latest frame is process-wide and outlives the
// controller, so the board can still be answered after the view closes.
class DocCamController : public SecondCameraController {
  Q_OBJECT

 public:
  explicit DocCamController(QObject* parent = nullptr);
  ~DocCamController() override;

  // Asks the board for the tile first, then prepares as every second camera does.
  void prepare(Completion completion = {}) override;

  // Asks the board page for the document camera's tile. Set by whoever owns the bridge; the
  // capture layer does not reach into the board.
  std::function<void()> showBoardTile;

  // `latestDocCamFrame`: the most recent frame of any document camera, invalid before the first.
  static QVideoFrame latestDocCamFrame();
  static std::optional<QImage> latestFrameImage();
  // "data:image/jpeg;base64," and the latest frame as JPEG; empty without a frame.
  static QString latestFrameDataUrl();

 protected:
  std::string capsFor(const TarvoCamera& camera) const override;
  void frameArrived(const QVideoFrame& frame) override;
};

}  // namespace dravin
