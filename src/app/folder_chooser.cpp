#include "folder_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QWindow>

namespace dravin {

void showFolderChooser(QWindow* above, std::function<void(const QString& folder)> chosen) {
  auto* dialog = new QFileDialog(
      nullptr, QStringLiteral("Please choose a folder to be used for saving files."),
      QDir::homePath());
  dialog->setFileMode(QFileDialog::Directory);
  dialog->setOption(QFileDialog::ShowDirsOnly);
  dialog->setLabelText(QFileDialog::Accept, QStringLiteral("Choose"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                   [chosen = std::move(chosen)](const QString& folder) { chosen(folder); });
  dialog->show();
  // Kept above the full-screen window, which is no widget and so cannot be its parent.
  if (above && dialog->windowHandle()) dialog->windowHandle()->setTransientParent(above);
  dialog->raise();
  dialog->activateWindow();
}

}  // namespace dravin
