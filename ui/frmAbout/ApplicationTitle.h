#pragma once

// The application title, as the About box and its message show it.
namespace milka {
inline constexpr char kApplicationTitle[] = "ミルカ！！！（地方版）";
} // namespace milka
