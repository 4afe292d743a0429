#include "view/extended_settings_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vx::view {

bool runExtendedSettings(QWidget* owner, std::vector<platform::SettingsTab>& tabs) {
  QDialog dialog(owner);
  dialog.setWindowTitle(QString::fromUtf8("拡張設定"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* tabWidget = new QTabWidget(&dialog);
  layout->addWidget(tabWidget);
  std::vector<std::pair<QCheckBox*, platform::SettingsCheck*>> boxes;
  for (platform::SettingsTab& tab : tabs) {
    auto* page = new QWidget(tabWidget);
    auto* column = new QVBoxLayout(page);
    if (!tab.note.empty()) column->addWidget(new QLabel(QString::fromStdString(tab.note), page));
    for (platform::SettingsCheck& check : tab.checks) {
      auto* box = new QCheckBox(QString::fromStdString(check.label), page);
      box->setChecked(check.checked);
      column->addWidget(box);
      boxes.emplace_back(box, &check);
    }
    column->addStretch();
    tabWidget->addTab(page, QString::fromStdString(tab.title));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  for (auto& [box, check] : boxes) check->checked = box->isChecked();
  return true;
}

}  // namespace vx::view
