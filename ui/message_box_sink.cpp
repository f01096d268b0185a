#include "ui/message_box_sink.h"

#include <QApplication>
#include <QMessageBox>

namespace ardvane {
namespace {

QString Caption() { return QApplication::applicationName(); }

}  // namespace

void MessageBoxSink::ShowInformation(const std::string& text) {
  QMessageBox::information(parent_, Caption(), QString::fromStdString(text));
}

void MessageBoxSink::ShowWarning(const std::string& text) {
  QMessageBox::warning(parent_, Caption(), QString::fromStdString(text));
}

bool MessageBoxSink::ConfirmWarning(const std::string& text) {
  return QMessageBox::warning(parent_, Caption(), QString::fromStdString(text),
                              QMessageBox::Ok | QMessageBox::Cancel,
                              QMessageBox::Ok) == QMessageBox::Ok;
}

}  // namespace ardvane
