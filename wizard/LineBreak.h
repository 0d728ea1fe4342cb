#pragma once

// The wizard's texts are Windows-1250 bytes; CR alone breaks their lines, never CR LF.
inline constexpr char CR = '\r';
