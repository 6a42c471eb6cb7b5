// SPDX-License-Identifier: MIT
#pragma once

#include "core/AppError.h"
#include "store/DiskSync.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The two files the store reads. A fault of the problem file's own (too big,
// damaged) raises ProblemFileUnusable, which a factory reset may mend; the same
// fault in the factory copy, and any fault of access, a plain AppError.
enum class StoreFile { Problems, Factory };

// The file's name in messages.
QString LabelOf(StoreFile file);
[[noreturn]] void ThrowFault(StoreFile file, int number, const QString& text);

// The bytes of the ordinary file at path, or nothing when there is none. A file
// above a megabyte is a fault: a legitimate one is a couple of kilobytes.
std::optional<QByteArray> ReadIfPresent(const QString& path, StoreFile file);
// The same, with a missing file a fault.
QByteArray ReadWholeFile(const QString& path, StoreFile file);

// The problem file at path could not be written, for reason.
AppError WriteError(int number, const QString& path, const QString& reason);

// Replaces the file whole or not at all: a crash, a full disk or a failing one
// leaves the old file. sync makes the data durable before the replace.
void WriteFileAtomically(const QString& path, const QByteArray& bytes, const DiskSync& sync);
