#pragma once

// The five windows, by the names the program knows them by.
enum class WindowName { メニュー, 問題表示, 字一覧, 字登録, 字削除 };
