#pragma once
// The user-label designer's pictures, written as PNG files into out; false
// when one fails.

#include <QDir>

bool DrawUserLabelImages(const QDir& out);
