#include "ui/main/recent_plans_menu.h"

#include <QAction>
#include <QMenu>
#include <filesystem>

#include "ui/widgets/qt_text.h"

namespace ardvane {

void FillRecentPlansMenu(QMenu& menu, const std::vector<std::string>& paths,
                         std::function<void(const std::string&)> open) {
  menu.clear();
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    QString name = Q(std::filesystem::path(path).filename().string());
    name.replace('&', "&&");
    QAction* action = menu.addAction(QString("&%1 %2").arg(i + 1).arg(name));
    const QString fullPath = Q(path);
    action->setStatusTip(fullPath);
    action->setToolTip(fullPath);
    // The path is kept as bytes: a file name that is not UTF-8 would not survive a QString.
    QObject::connect(action, &QAction::triggered, &menu, [open, path] {
      if (open) open(path);
    });
  }
  menu.setEnabled(!paths.empty());  // the menu's entry in its parent follows
}

}  // namespace ardvane
