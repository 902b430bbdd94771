#include "ui/preferences.h"

#include <QSettings>

namespace veltrin {

bool PersistedFlag::value() const { return QSettings().value(QLatin1String(key_), defaultValue_).toBool(); }

void PersistedFlag::setValue(bool value) const
{
    QSettings settings;
    settings.setValue(QLatin1String(key_), value);
    settings.sync();
}

BoolBinding PersistedFlag::binding() const
{
    const PersistedFlag flag = *this;
    return {[flag] { return flag.value(); }, [flag](bool value) { flag.setValue(value); }};
}

} // namespace veltrin
