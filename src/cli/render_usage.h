#pragma once
// The usage text of `vek1-cli render`, apart from the drawing so that both builds share it.

namespace vek1 {

extern const char* const kRenderUsage;

}  // namespace vek1
