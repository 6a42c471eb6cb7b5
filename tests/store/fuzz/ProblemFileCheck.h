// SPDX-License-Identifier: MIT
#pragma once

#include "store/ProblemFileFormat.h"

#include <QByteArrayView>

#include <optional>
#include <string>

// The promises the problem-file reader and writer keep for any bytes at all: a
// fault names its line and says what is wrong; whatever reads without a fault
// is written back so that it reads the same, and the written form is a fixed
// point. Returns what was broken, or nothing.
std::optional<std::string> BrokenProblemFilePromise(QByteArrayView bytes);

// The items of a reading as strings, as the writer takes them.
QList<QString> ItemsOf(const ProblemFile::TextReading& reading);
