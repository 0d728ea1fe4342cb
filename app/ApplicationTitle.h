#pragma once

// The caption of every message box and of the application's taskbar entry.
inline constexpr const char* ApplicationTitle = "Instalator";
