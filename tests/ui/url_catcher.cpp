#include "url_catcher.h"

namespace veltrin::testing {

UrlCatcher::UrlCatcher(QStringList schemes) : schemes_(std::move(schemes))
{
    for (const QString& scheme : schemes_)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

UrlCatcher::~UrlCatcher()
{
    for (const QString& scheme : schemes_)
        QDesktopServices::unsetUrlHandler(scheme);
}

} // namespace veltrin::testing
