#include "tunnel_list_model.h"

#include <QPointer>

#include "jpeg_encoder.h"
#include "notification_center.h"
#include "notification_names.h"

namespace dravin {

TunnelListModel::TunnelListModel(QObject* parent)
    : TunnelListModel(&WindowTunnel::shared(), parent) {}

TunnelListModel::TunnelListModel(WindowTunnel* tunnel, QObject* parent)
    : QAbstractListModel(parent), tunnel_(tunnel) {}

TunnelListModel::~TunnelListModel() {
  // A picker closed while the desktop's dialog is open takes the dialog with it.
  if (portalAsking_) tunnel_->cancelPortalChoice();
}

int TunnelListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : count();
}

QVariant TunnelListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || index.row() >= count()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  const TunnelWindow& window = windowsArray_[row];
  switch (role) {
    case NameRole: return window.name;
    case ThumbnailRole: return thumbnails_[row];
    case WindowIdRole: return static_cast<qint64>(window.windowID);
    case PidRole: return window.pid;
    case SelectedRole:
      return window.windowID != 0 &&
             static_cast<int>(window.windowID) == tunnel_->selectedWindowNumber();
    default: return {};
  }
}

QHash<int, QByteArray> TunnelListModel::roleNames() const {
  return {{NameRole, "name"},
          {ThumbnailRole, "thumbnail"},
          {WindowIdRole, "windowID"},
          {PidRole, "pid"},
          {SelectedRole, "selected"}};
}

void TunnelListModel::refresh() {
  std::vector<TunnelWindow> windows = tunnel_->refreshWindows();
  std::vector<QString> thumbnails;
  thumbnails.reserve(windows.size());
  for (const TunnelWindow& window : windows) {
    // Small pictures keep the view's data light; the cell stretches them as the window list does.
    thumbnails.push_back(encodeJpegDataUrl(window.thumbnail.scaled(
        kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
  }
  beginResetModel();
  windowsArray_ = std::move(windows);
  thumbnails_ = std::move(thumbnails);
  endResetModel();
  emit countChanged();
}

void TunnelListModel::pick(int index) {
  if (index < 0 || index >= count()) return;
  // A copy: the pick closes the picker, which may take this model with it.
  const TunnelWindow window = windowsArray_[static_cast<std::size_t>(index)];
  const QPointer<TunnelListModel> alive(this);
  tunnel_->pickWindow(window);
  if (!alive) return;
  emit selectionChanged();
  if (count() > 0) emit dataChanged(this->index(0), this->index(count() - 1), {SelectedRole});
}

void TunnelListModel::choosePortalWindow() {
  if (!usesPortal() || portalAsking_) return;
  portalOffersWindows_ = tunnel_->portalOffersWindows();
  if (!portalOffersWindows_) {
    portalNote_ = QStringLiteral(
        "This desktop shares whole screens only: its screen-sharing service offers no single "
        "windows, so no window can be shown here.");
    emit portalChanged();
    return;
  }
  portalAsking_ = true;
  portalNote_ = QStringLiteral("Choose the window to show in the desktop\u2019s dialog.");
  emit portalChanged();
  const QPointer<TunnelListModel> alive(this);
  tunnel_->choosePortalWindow([alive](bool shown, const QString& error) {
    // A shown window closes the picker, and this model with it.
    if (!alive) return;
    alive->portalAsking_ = false;
    if (shown) {
      alive->portalNote_.clear();
    } else if (error.isEmpty()) {
      alive->portalNote_ = QStringLiteral("No window was chosen.");
    } else {
      alive->portalNote_ = QStringLiteral("The window could not be shared: ") + error;
    }
    emit alive->portalChanged();
    if (shown) emit alive->selectionChanged();
  });
}

void TunnelListModel::close() {
  NotificationCenter::instance().post(notifications::kOpenTunnelList);
}

}  // namespace dravin
