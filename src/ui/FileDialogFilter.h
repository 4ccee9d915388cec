#pragma once

#include <QString>
#include <QStringList>

namespace leafmill {

// The add-files filter of main.ini is in the common-dialog syntax: pairs of
// description and patterns separated by '|', several patterns of one entry
// separated by ';' ("Text|*.txt|Web pages|*.htm;*.html|All|*.*").
//
// Qt wants one "Description (pattern pattern)" text per entry. "*.*" becomes
// "*", which on every platform also matches names without a dot, as the
// common dialog's "*.*" does. A description without patterns is dropped.
QStringList qtNameFilters(const QString& commonDialogFilter);

}  // namespace leafmill
