// The component library's global string routine: the n-th piece of a text between separators.
#pragma once

#include <QString>

// Piece n (1 = first) of text split at trenner; "" for a piece the text does not have (n < 1,
// n beyond the last piece, or an empty separator with n > 1). weiter is part of the routine's
// call form and always 1; it does not change the result.
QString Zeichenkette(const QString &text, int n, int weiter, const QString &trenner);
