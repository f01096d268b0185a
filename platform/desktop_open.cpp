#include "platform/desktop_open.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace ardvane {

int OpenWithDesktop(const std::string& pathOrAddress) {
  const QString text = QString::fromStdString(pathOrAddress);
  const QUrl parsed(text);
  const bool isAddress = parsed.isValid() && parsed.scheme().size() > 1;  // not "C:"
  const QUrl url = isAddress ? parsed : QUrl::fromLocalFile(text);
  return QDesktopServices::openUrl(url) ? kDesktopOpenSucceeded : kDesktopOpenFailed;
}

}  // namespace ardvane
