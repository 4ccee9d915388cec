#pragma once

#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

namespace leafmill {

// The design values a window keeps for one of its controls: name -> value,
// names matched without regard to letter case, in the order they were
// written. A control reads its values with defaults and writes only those that
// differ from their defaults.
class PropertyBag {
public:
    // The value stored under `name`, or `defaultValue` when there is none.
    QVariant read(const QString& name, const QVariant& defaultValue) const;

    // Stores `value` under `name` unless it equals `defaultValue`; a value
    // already stored under the name is replaced in place.
    void write(const QString& name, const QVariant& value, const QVariant& defaultValue);

    // The stored names in the order they were first written.
    QStringList names() const;

private:
    std::vector<std::pair<QString, QVariant>> values_;
};

}  // namespace leafmill
