#pragma once

#include <QtQml/qqmlregistration.h>
#include <QAbstractListModel>
#include <vector>

#include "window_tunnel.h"

namespace dravin {

// The window picker's state: the offered windows with their thumbnails and the last pick, which
// outlives the view so the next opening highlights it.
class TunnelListModel : public QAbstractListModel {
  Q_OBJECT
  QML_ELEMENT

  Q_PROPERTY(int count READ count NOTIFY countChanged)
  Q_PROPERTY(int selectedWindowPID READ selectedWindowPID NOTIFY selectionChanged)
  Q_PROPERTY(int selectedWindowNumber READ selectedWindowNumber NOTIFY selectionChanged)
  Q_PROPERTY(int columnCount READ columnCount CONSTANT)
  // Wayland: the desktop's own dialog picks the window; the picker only says how it goes.
  Q_PROPERTY(bool usesPortal READ usesPortal CONSTANT)
  Q_PROPERTY(bool portalAsking READ portalAsking NOTIFY portalChanged)
  Q_PROPERTY(bool portalOffersWindows READ portalOffersWindows NOTIFY portalChanged)
  Q_PROPERTY(QString portalNote READ portalNote NOTIFY portalChanged)

 public:
  enum Role { NameRole = Qt::UserRole + 1, ThumbnailRole, WindowIdRole, PidRole, SelectedRole };

  static constexpr int kColumnCount = 3;
  // Twice the cell's 120 x 72 points, sharp on high-density screens.
  static constexpr int kThumbnailWidth = 240;
  static constexpr int kThumbnailHeight = 144;

  explicit TunnelListModel(QObject* parent = nullptr);
  // A tunnel of the caller's; the application's shared one otherwise.
  explicit TunnelListModel(WindowTunnel* tunnel, QObject* parent = nullptr);
  ~TunnelListModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QHash<int, QByteArray> roleNames() const override;

  int count() const { return static_cast<int>(windowsArray_.size()); }
  int selectedWindowPID() const { return tunnel_->selectedWindowPID(); }
  int selectedWindowNumber() const { return tunnel_->selectedWindowNumber(); }
  int columnCount() const { return kColumnCount; }
  const std::vector<TunnelWindow>& windowsArray() const { return windowsArray_; }
  bool usesPortal() const { return tunnel_->usesPortal(); }
  bool portalAsking() const { return portalAsking_; }
  bool portalOffersWindows() const { return portalOffersWindows_; }
  const QString& portalNote() const { return portalNote_; }

  Q_INVOKABLE void refresh();
  Q_INVOKABLE void pick(int index);
  Q_INVOKABLE void close();
  // Wayland: opens the desktop's dialog for one window, unless the desktop cannot share windows.
  Q_INVOKABLE void choosePortalWindow();

 signals:
  void countChanged();
  void selectionChanged();
  void portalChanged();

 private:
  WindowTunnel* tunnel_;
  std::vector<TunnelWindow> windowsArray_;
  std::vector<QString> thumbnails_;
  bool portalAsking_ = false;
  bool portalOffersWindows_ = true;
  QString portalNote_;
};

}  // namespace dravin
