// Shared pieces of the window tests: the application object of the test
// program and a small child window that records what reaches it.
#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <string>
#include <vector>

#include "app/child_window.h"
#include "app/tmy_app.h"
#include "support/scripted_host.h"

namespace rkv::test {

QApplication& App();

// A main window built as at start-up, answering through a scripted host; its
// children are closed after each test.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Runs posted calls until none is left (a few rounds of the event loop).
  void Drain();

  ScriptedHost host;
  std::unique_ptr<TMyApp> app;
};

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
  void DisplaySettingsChanged() override { ++displayChanges; }

  std::vector<int> received;
  std::vector<int> handled;  // the ids this window takes itself
  int mode = 0;
  bool viewOpen = false;
  int placementsStored = 0;
  int fontChanges = 0;
  int displayChanges = 0;
};

}  // namespace rkv::test
