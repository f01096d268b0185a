#include "ui/dialogs/file_exists_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace ardvane {
namespace {

TEST(FileExistsDialogTest, ShowsThePathAndGivesTheChosenAnswer) {
  const std::string path = "/home/a/Reports/Smith, John 3.15.2005 English.doc";
  {
    FileExistsDialog dialog(path, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Information");
    EXPECT_EQ(dialog.findChild<QLabel*>("lblHeader")->text(),
              "An existing version of this file was found on your hard drive:");
    EXPECT_EQ(dialog.findChild<QLabel*>("lblFileLocation")->text().toStdString(), path);
    EXPECT_EQ(dialog.findChild<QPushButton*>("btnOverwrite")->text(), "Over&write It");
    EXPECT_EQ(dialog.findChild<QPushButton*>("btnOpen")->text(), "&Open It");
    EXPECT_EQ(dialog.findChild<QPushButton*>("btnCancel")->text(), "&Cancel");
    dialog.show();
    dialog.findChild<QPushButton*>("btnOpen")->click();
    EXPECT_EQ(dialog.Choice(), FileExistsAnswer::Open);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  {
    FileExistsDialog dialog(path, nullptr);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);  // the default button
    EXPECT_EQ(dialog.Choice(), FileExistsAnswer::Overwrite);
  }
  for (const bool escape : {true, false}) {
    FileExistsDialog dialog(path, nullptr);
    dialog.show();
    if (escape) {
      QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
      dialog.close();  // the window's close button
    }
    EXPECT_EQ(dialog.Choice(), FileExistsAnswer::Cancel);
    EXPECT_FALSE(dialog.isVisible());
  }
}

}  // namespace
}  // namespace ardvane
