#include "about/seticon.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace brisvane;

namespace {
// Records every call; owners and metrics come from tables.
class FakeCalls : public IconCalls {
 public:
  std::map<WindowHandle, WindowHandle> owners;
  std::vector<std::string> log;
  int metric_base = 32;

  WindowHandle GetOwner(WindowHandle w) override {
    log.push_back("owner " + std::to_string(w));
    auto it = owners.find(w);
    return it == owners.end() ? 0 : it->second;
  }
  int GetSystemMetric(int i) override {
    log.push_back("metric " + std::to_string(i));
    return i < 20 ? metric_base : metric_base / 2;
  }
  std::uintptr_t Instance() override { return 0x400000; }
  IconHandle LoadSharedIcon(std::uintptr_t inst, const std::string& name, int cx, int cy) override {
    log.push_back("load " + name + " " + std::to_string(cx) + "x" + std::to_string(cy));
    EXPECT_EQ(inst, 0x400000u);
    return name == "AAA" ? 1000 + cx : 0;
  }
  void SendSetIcon(WindowHandle w, int which, IconHandle icon) override {
    log.push_back("send " + std::to_string(w) + (which == kIconBig ? " big " : " small ") +
                  std::to_string(icon));
  }
  std::vector<std::string> Sends() const {
    std::vector<std::string> sends;
    for (auto& l : log)
      if (l.rfind("send", 0) == 0) sends.push_back(l);
    return sends;
  }
};
}  // namespace

TEST(SetIcon, WalksToTheTopOwnerAndSendsInOrder) {
  FakeCalls calls;
  calls.owners = {{3, 2}, {2, 1}};  // about box -> main window -> application window
  SetIcon(calls, 3, "AAA", true);
  std::vector<std::string> want = {
      "owner 3",        "owner 2",           "owner 1",          "metric 11", "metric 12",
      "load AAA 32x32", "send 1 big 1032",   "send 3 big 1032",  "metric 49", "metric 50",
      "load AAA 16x16", "send 1 small 1016", "send 3 small 1016"};
  EXPECT_EQ(calls.log, want);
}

TEST(SetIcon, WithoutAppIconNoOwnerIsAsked) {
  FakeCalls calls;
  calls.owners = {{3, 2}};
  SetIcon(calls, 3, "AAA", false);
  std::vector<std::string> want = {"metric 11", "metric 12", "load AAA 32x32", "send 3 big 1032",
                                   "metric 49", "metric 50", "load AAA 16x16", "send 3 small 1016"};
  EXPECT_EQ(calls.log, want);
}

TEST(SetIcon, UnownedWindowIsItsOwnTopAndGetsEachMessageTwice) {
  FakeCalls calls;
  calls.metric_base = 48;  // metrics are read on every call
  SetIcon(calls, 7, "AAA");
  EXPECT_EQ(calls.Sends(), (std::vector<std::string>{"send 7 big 1048", "send 7 big 1048",
                                                     "send 7 small 1024", "send 7 small 1024"}));
}

TEST(SetIcon, MissingGroupSendsNullHandlesAllTheSame) {
  FakeCalls calls;
  calls.owners = {{2, 1}};
  SetIcon(calls, 2, "NOPE", true);
  EXPECT_EQ(calls.Sends(), (std::vector<std::string>{"send 1 big 0", "send 2 big 0",
                                                     "send 1 small 0", "send 2 small 0"}));
}

TEST(SetIcon, NullWindowEndsTheWalkAtOnce) {
  FakeCalls calls;
  SetIcon(calls, 0, "AAA", true);
  EXPECT_EQ(calls.log.front(), "metric 11");  // no GetOwner(0)
}
