// A window's own scroll bar over a ScrolledList: one row per line step, the
// bar's position for pages, top and bottom, nothing while the thumb is dragged
// until it is released; the window takes the focus afterwards.
#pragma once

class QScrollBar;
class QWheelEvent;
class QWidget;

namespace rkv {

class ScrolledList;

void ConnectScrolledList(QScrollBar* bar, ScrolledList& list, QWidget* window);
// The mouse wheel moves the list by rows, as line steps do.
void WheelScrolledList(QWheelEvent* event, QScrollBar* bar, ScrolledList& list, QWidget* window);

}  // namespace rkv
