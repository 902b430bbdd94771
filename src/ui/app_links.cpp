#include "ui/app_links.h"

namespace veltrin {

AppLinks deploymentLinks()
{
    const QString email = QStringLiteral(VELTRIN_AUTHOR_EMAIL);
    return {
        .donation = QUrl(QStringLiteral(VELTRIN_DONATION_URL)),
        .email = QUrl(QStringLiteral("mailto:") + email),
        .authorCredit = QStringLiteral(VELTRIN_AUTHOR_CREDIT),
        .authorEmail = email,
    };
}

} // namespace veltrin
