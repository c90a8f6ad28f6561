#pragma once
// What each stored byte of a patch means, for listing a patch file: one
// name per byte of the common block (72) and of a tone block (129), in
// offset order. A value stored as two nibbles has one name per byte.

#include <QStringList>

namespace cli {

QStringList commonParameterNames();
QStringList toneParameterNames();

} // namespace cli
