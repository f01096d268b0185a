#include "ui/main/recent_plans_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <string>
#include <vector>

namespace ardvane {
namespace {

std::vector<std::string> Texts(const QMenu& menu) {
  std::vector<std::string> texts;
  for (const QAction* action : menu.actions()) texts.push_back(action->text().toStdString());
  return texts;
}

TEST(RecentPlansMenuTest, NumberedEntriesOpenTheirPath) {
  QMenuBar bar;
  QMenu* file = bar.addMenu("&File");
  QMenu* recent = file->addMenu("Recent &Plans");
  std::vector<std::string> opened;
  const auto open = [&opened](const std::string& path) { opened.push_back(path); };

  const std::string latin1 = "/home/pat/Jos\xE9.bvx";  // a file name that is not UTF-8
  FillRecentPlansMenu(*recent, {"/home/pat/Smith & Sons.bvx", "/p/B.bvx", latin1}, open);
  EXPECT_EQ(Texts(*recent),
            (std::vector<std::string>{"&1 Smith && Sons.bvx", "&2 B.bvx", "&3 Jos\uFFFD.bvx"}));
  EXPECT_EQ(recent->actions()[0]->statusTip().toStdString(), "/home/pat/Smith & Sons.bvx");
  EXPECT_TRUE(recent->menuAction()->isEnabled());
  recent->actions()[2]->trigger();
  recent->actions()[1]->trigger();
  EXPECT_EQ(opened, (std::vector<std::string>{latin1, "/p/B.bvx"}));

  // Filled again: the old entries are gone, each choice opens once.
  FillRecentPlansMenu(*recent, {"/p/C.bvx"}, open);
  EXPECT_EQ(Texts(*recent), std::vector<std::string>{"&1 C.bvx"});
  opened.clear();
  recent->actions()[0]->trigger();
  EXPECT_EQ(opened, std::vector<std::string>{"/p/C.bvx"});

  FillRecentPlansMenu(*recent, {}, open);
  EXPECT_TRUE(recent->actions().isEmpty());
  EXPECT_FALSE(recent->menuAction()->isEnabled());
  FillRecentPlansMenu(*recent, {"/p/D.bvx"}, open);
  EXPECT_TRUE(recent->menuAction()->isEnabled());
}

}  // namespace
}  // namespace ardvane
