#pragma once
// Edit masks: the stored mask syntax ("mask;save literals;blank") onto the input mask of a Qt
// line edit.
#include <QString>

namespace platform {

// The Qt input mask for a stored edit mask; empty for an empty mask.
//   0 digit required, 9 digit optional, # digit or sign optional, L/l letter required/optional,
//   A/a letter or digit required/optional, C/c any character required/optional, > upper case,
//   < lower case, <> no case change, \ next character literal, _ a blank, : and / the time and
//   date separators; any other character stands for itself. The third field gives the blank
//   character (default "_").
// Without an equivalent: "!" (optional characters shown as leading blanks) is dropped, and the
// second field (literals left out of the value) is ignored: the value always keeps the literals.
QString QtInputMask(const QString& EditMask);

} // namespace platform
