#pragma once

#include "store/ProblemStore.h"

#include <QString>

// The global module: the state every window shares, for the whole run.
// Windows receive the store by reference, so tests give them one of their own.
namespace 変数宣言 {
inline QString AppDir;
inline ProblemStore Problems;
} // namespace 変数宣言
