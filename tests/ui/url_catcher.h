#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace veltrin::testing {

// Takes over the given URL schemes while it lives and records what would have been opened.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    explicit UrlCatcher(QStringList schemes);
    ~UrlCatcher() override;
    QList<QUrl> opened;
    Q_INVOKABLE void open(const QUrl& url) { opened << url; }

private:
    QStringList schemes_;
};

} // namespace veltrin::testing
