// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

// Why the folder of the running executable, as the platform reports it, cannot be
// the application folder; nothing when it can. Every file the program touches is
// named from that folder, so a folder it cannot name exactly (empty, relative, with
// characters the file system's encoding does not carry, or no folder at all) would
// send it to files outside its own: the program must not start then.
std::optional<QString> WhyUnusable(const QString& executableFolder);
