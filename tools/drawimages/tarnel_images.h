#pragma once
// Tarnel's images, written as PNG files into out; false when one fails.

#include <QDir>

bool DrawTarnelImages(const QDir& out);
