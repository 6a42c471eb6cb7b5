// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// A Windows icon file holding each image as PNG (readable since Windows Vista),
// 32-bit with alpha. Images must be square, 1 to 256 pixels a side.
QByteArray IcoFile(const QList<QImage>& images);
