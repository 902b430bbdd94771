#pragma once

#include <QString>
#include <QUrl>

namespace veltrin {

// Where the Donate and Email buttons lead, and who the About tab credits.
struct AppLinks {
    QUrl donation{};
    QUrl email{}; // mailto: address
    QString authorCredit{};
    QString authorEmail{};
};

// The values this build was configured with.
AppLinks deploymentLinks();

} // namespace veltrin
