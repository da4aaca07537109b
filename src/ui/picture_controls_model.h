#pragma once

#include <QtQml/qqmlregistration.h>
#include <QAbstractListModel>
#include <QPointer>
#include <QStringList>

#include "camera_controller.h"

namespace dravin {

// The running camera's picture controls as rows for the Focus and Adjust popovers: one model
// per popover, each with its share of the controls. A value the camera refuses is not shown as
// taken: the row goes back to the camera's value and carries the reason.
class PictureControlsModel : public QAbstractListModel {
  Q_OBJECT
  QML_ELEMENT

  Q_PROPERTY(dravin::CameraController* camera READ camera WRITE setCamera NOTIFY cameraChanged)
  Q_PROPERTY(Group group READ group WRITE setGroup NOTIFY groupChanged)
  // Leaves out what the maker's HID controls already offer.
  Q_PROPERTY(bool besideHid READ besideHid WRITE setBesideHid NOTIFY besideHidChanged)
  Q_PROPERTY(int count READ rowCount NOTIFY countChanged)
  // The last refusal, empty after a write the camera took.
  Q_PROPERTY(QString error READ error NOTIFY errorChanged)

 public:
  // Focus: focus, zoom, pan and tilt. Adjust: everything else.
  enum Group { Focus, Adjust };
  Q_ENUM(Group)
  enum Role {
    NameRole = Qt::UserRole + 1,
    LabelRole,
    KindRole,
    MinimumRole,
    MaximumRole,
    StepRole,
    DefaultRole,
    ValueRole,
    MenuLabelsRole,
    MenuValuesRole,
    InactiveRole,
  };

  explicit PictureControlsModel(QObject* parent = nullptr);

  CameraController* camera() const { return camera_; }
  void setCamera(CameraController* camera);
  Group group() const { return group_; }
  void setGroup(Group group);
  bool besideHid() const { return besideHid_; }
  void setBesideHid(bool beside);
  QString error() const { return error_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QHash<int, QByteArray> roleNames() const override;

  Q_INVOKABLE void set(const QString& name, int value);
  Q_INVOKABLE void resetToDefaults();
  Q_INVOKABLE void refresh();

  // Which popover a control belongs in.
  static Group groupOf(const std::string& name);

 signals:
  void cameraChanged();
  void groupChanged();
  void besideHidChanged();
  void countChanged();
  void errorChanged();

 private:
  void setError(const QString& error);

  QPointer<CameraController> camera_;
  Group group_ = Adjust;
  bool besideHid_ = false;
  std::vector<PictureControl> rows_;
  QString error_;
};

}  // namespace dravin
