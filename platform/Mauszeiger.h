// The application-wide mouse pointer: a state, not a stack. MauszeigerSetzen(11) shows the busy
// pointer until MauszeigerSetzen(0), however often 11 was set in between. Without a
// QGuiApplication (tools, tests) only the state is kept.
#pragma once

namespace Zeiger {
inline constexpr int Normal = 0;
inline constexpr int Sanduhr = 11;
} // namespace Zeiger

void MauszeigerSetzen(int code);
int MauszeigerAktuell();
