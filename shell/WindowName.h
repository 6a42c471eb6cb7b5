// SPDX-License-Identifier: MIT
#pragma once

// The five windows, by the names the program hands over between them with.
enum class WindowName { Menu, Puzzle, PairList, AddPair, DeletePair };
