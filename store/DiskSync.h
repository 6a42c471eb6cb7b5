// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>
#include <optional>

// Waits until what was written through the open file descriptor `handle` is on
// the disk. A write only hands the bytes to the system; a failing disk, a full
// quota or a lost network share may show only here. Returns the system's reason
// when the data did not reach the disk, or nothing.
std::optional<QString> SyncToDisk(int handle);

// How the store makes its writes durable: SyncToDisk, or a stand-in in tests.
using DiskSync = std::function<std::optional<QString>(int handle)>;
