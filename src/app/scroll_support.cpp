#include "app/scroll_support.h"

#include <QScrollBar>
#include <QWheelEvent>

#include "core/scrolled_list.h"

namespace rkv {

void ConnectScrolledList(QScrollBar* bar, ScrolledList& list, QWidget* window) {
  QObject::connect(bar, &QScrollBar::actionTriggered, window, [bar, &list, window](int action) {
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub:
        list.LineUp();
        break;
      case QAbstractSlider::SliderSingleStepAdd:
        list.LineDown();
        break;
      case QAbstractSlider::SliderMove:
        return;
      default:
        list.SetTop(bar->sliderPosition());
    }
    bar->setSliderPosition(list.top());
    window->update();
    window->setFocus();
  });
  QObject::connect(bar, &QScrollBar::sliderReleased, window, [bar, &list, window] {
    list.SetTop(bar->sliderPosition());
    window->update();
    window->setFocus();
  });
}

void WheelScrolledList(QWheelEvent* event, QScrollBar* bar, ScrolledList& list, QWidget* window) {
  int steps = event->angleDelta().y() / 40;
  for (int i = 0; i < (steps < 0 ? -steps : steps); ++i) {
    if (steps < 0) {
      list.LineDown();
    } else {
      list.LineUp();
    }
  }
  bar->setValue(list.top());
  window->update();
}

}  // namespace rkv
