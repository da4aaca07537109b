#include "picture_controls_model.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app_log.h"

namespace dravin {

namespace {

// What the maker's HID popovers already set on their cameras.
constexpr std::array<std::string_view, 5> kHidCovered{"brightness", "contrast", "saturation",
                                                      "sharpness", "white_balance_temperature"};

bool startsWith(const std::string& text, std::string_view prefix) {
  return text.rfind(prefix, 0) == 0;
}

QString kindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::boolean: return QStringLiteral("boolean");
    case ControlKind::menu: return QStringLiteral("menu");
    case ControlKind::integer: break;
  }
  return QStringLiteral("integer");
}

}  // namespace

PictureControlsModel::PictureControlsModel(QObject* parent) : QAbstractListModel(parent) {}

PictureControlsModel::Group PictureControlsModel::groupOf(const std::string& name) {
  for (std::string_view prefix : {"focus_", "zoom_", "pan_", "tilt_"}) {
    if (startsWith(name, prefix)) return Focus;
  }
  return Adjust;
}

void PictureControlsModel::setCamera(CameraController* camera) {
  if (camera_ == camera) return;
  if (camera_) camera_->tuning().disconnect(this);
  camera_ = camera;
  // Changes come from the queue as well as from here: the rows are rebuilt on the main thread.
  if (camera_) {
    connect(&camera_->tuning(), &CameraTuning::controlsChanged, this,
            &PictureControlsModel::refresh, Qt::QueuedConnection);
  }
  refresh();
  emit cameraChanged();
}

void PictureControlsModel::setGroup(Group group) {
  if (group_ == group) return;
  group_ = group;
  refresh();
  emit groupChanged();
}

void PictureControlsModel::setBesideHid(bool beside) {
  if (besideHid_ == beside) return;
  besideHid_ = beside;
  refresh();
  emit besideHidChanged();
}

void PictureControlsModel::refresh() {
  std::vector<PictureControl> rows;
  if (camera_) {
    for (auto& control : camera_->tuning().controls()) {
      if (groupOf(control.name) != group_) continue;
      if (besideHid_ &&
          (std::find(kHidCovered.begin(), kHidCovered.end(), control.name) != kHidCovered.end() ||
           startsWith(control.name, "exposure") || control.name == "focus_absolute")) {
        continue;
      }
      rows.push_back(std::move(control));
    }
  }
  const bool sameNames = std::equal(rows.begin(), rows.end(), rows_.begin(), rows_.end(),
                                    [](const auto& a, const auto& b) { return a.name == b.name; });
  if (sameNames) {
    // Only values and states moved: the sliders keep their handles and the popover its layout.
    rows_ = std::move(rows);
    if (!rows_.empty()) emit dataChanged(index(0), index(static_cast<int>(rows_.size()) - 1));
    return;
  }
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
  emit countChanged();
}

int PictureControlsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant PictureControlsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const auto& control = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case NameRole: return QString::fromStdString(control.name);
    case LabelRole: return QString::fromStdString(control.label);
    case KindRole: return kindName(control.kind);
    case MinimumRole: return control.minimum;
    case MaximumRole: return control.maximum;
    case StepRole: return control.step;
    case DefaultRole: return control.defaultValue;
    case ValueRole: return control.value;
    case MenuLabelsRole: {
      QStringList labels;
      for (const auto& entry : control.menu) labels << QString::fromStdString(entry.label);
      return labels;
    }
    case MenuValuesRole: {
      QVariantList values;
      for (const auto& entry : control.menu) values << entry.value;
      return values;
    }
    case InactiveRole: return control.inactive;
    default: return {};
  }
}

QHash<int, QByteArray> PictureControlsModel::roleNames() const {
  return {{NameRole, "name"},
          {LabelRole, "label"},
          {KindRole, "kind"},
          {MinimumRole, "minimum"},
          {MaximumRole, "maximum"},
          {StepRole, "step"},
          {DefaultRole, "defaultValue"},
          {ValueRole, "value"},
          {MenuLabelsRole, "menuLabels"},
          {MenuValuesRole, "menuValues"},
          {InactiveRole, "inactive"}};
}

void PictureControlsModel::set(const QString& name, int value) {
  if (!camera_) return;
  const QString error = camera_->tuning().set(name.toStdString(), value);
  if (!error.isEmpty()) logLine(QStringLiteral("Camera setting refused: ") + error);
  setError(error);
  // Now, not only when the queued notice arrives: a refused value must not stay on screen.
  refresh();
}

void PictureControlsModel::resetToDefaults() {
  if (!camera_) return;
  const QStringList refusals = camera_->tuning().reset();
  for (const auto& refusal : refusals)
    logLine(QStringLiteral("Camera setting refused: ") + refusal);
  setError(refusals.join(QLatin1Char('\n')));
  refresh();
}

void PictureControlsModel::setError(const QString& error) {
  if (error_ == error) return;
  error_ = error;
  emit errorChanged();
}

}  // namespace dravin
