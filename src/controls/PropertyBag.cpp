#include "controls/PropertyBag.h"

#include <QStringList>
#include <algorithm>

namespace leafmill {

namespace {
template <typename Values> auto findName(Values& values, const QString& name)
{
    return std::find_if(values.begin(), values.end(),
                        [&](const auto& entry) { return entry.first.compare(name, Qt::CaseInsensitive) == 0; });
}
}  // namespace

QVariant PropertyBag::read(const QString& name, const QVariant& defaultValue) const
{
    auto it = findName(values_, name);
    return it == values_.end() ? defaultValue : it->second;
}

void PropertyBag::write(const QString& name, const QVariant& value, const QVariant& defaultValue)
{
    if (value == defaultValue)
        return;
    auto it = findName(values_, name);
    if (it == values_.end())
        values_.emplace_back(name, value);
    else
        it->second = value;
}

QStringList PropertyBag::names() const
{
    QStringList out;
    for (const auto& entry : values_)
        out << entry.first;
    return out;
}

}  // namespace leafmill
