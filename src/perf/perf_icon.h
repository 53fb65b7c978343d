#pragma once
// The Engine Performance window's picture on the menu and tool bar: an indicator card over a
// rising power curve.

#include <QIcon>

namespace vek1 {

QIcon enginePerformanceIcon();

}  // namespace vek1
