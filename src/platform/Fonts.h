#pragma once

// Maps the Windows font names that documents and forms use (宋体, 黑体, 楷体, 仿宋, SimSun …) to
// the CJK fonts installed here, so Chinese text renders while documents keep their font names.
void InstallFontSubstitutions();
