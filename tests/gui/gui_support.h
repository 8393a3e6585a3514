// Shared pieces of the window tests: the application object of the test
// program and a small child window that records what reaches it.
#pragma once

#include <QApplication>

#include <algorithm>

#include <string>
#include <vector>

#include "app/child_window.h"

namespace rkv::test {

QApplication& App();

class TestChild : public ChildWindow {
  Q_OBJECT
 public:
  TestChild(TMyApp& app, std::string className) : ChildWindow(app, std::move(className)) {}
  bool HandleCommand(int id) override {
    received.push_back(id);
    return std::find(handled.begin(), handled.end(), id) != handled.end();
  }
  ActiveChild State() const override { return ActiveChild{kind(), mode, viewOpen}; }
  void StorePlacement() override { ++placementsStored; }
  void FontChanged() override { ++fontChanges; }

  std::vector<int> received;
  std::vector<int> handled;  // the ids this window takes itself
  int mode = 0;
  bool viewOpen = false;
  int placementsStored = 0;
  int fontChanges = 0;
};

}  // namespace rkv::test
