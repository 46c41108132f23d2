#include "app/status_run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "app/probe.h"
#include "text_box_model.h"

using namespace brisvane;

namespace {
const std::wstring kMsg13(kNotFound2013, kNotFound2013 + std::strlen(kNotFound2013));
const std::wstring kMsg16(kNotFound2016, kNotFound2016 + std::strlen(kNotFound2016));
const std::wstring kCmd13 =
    L"cscript \"C:\\Program Files\\Microsoft Office\\Office15\\OSPP.VBS\" /dstatus";
const std::wstring kCmd16 =
    L"cscript \"C:\\Program Files\\Microsoft Office\\Office16\\OSPP.VBS\" /dstatus";

class FakeForm : public StatusForm {
 public:
  std::wstring path13, path16;
  TextBoxModel status;
  std::map<std::wstring, std::vector<std::wstring>> output;  // chunks per command line
  std::map<std::wstring, CaptureEnd> ends;
  std::vector<std::string> log;
  int pointer = 0;
  bool timer_armed = true;
  int ticks_in_loop = 0;  // the first ticks come inside a menu or a move
  std::function<void(int chunk)> between_chunks;

  bool InSystemLoop() override { return ticks_in_loop-- > 0; }

  void DisarmTimer() override {
    timer_armed = false;
    log.push_back("disarm");
  }
  std::wstring Path2013Text() override { return path13; }
  std::wstring Path2016Text() override { return path16; }
  std::wstring StatusText() override { return status.Text(); }
  void SetStatusText(const std::wstring& t) override {
    status.SetText(t);
    log.push_back("text");
  }
  void SetStatusSelStart(long p) override {
    status.SetSelStart(p);
    log.push_back("selstart " + std::to_string(p));
  }
  void SetScreenPointer(forms::MousePointer p) override {
    pointer = static_cast<int>(p);
    log.push_back("pointer " + std::to_string(pointer));
  }
  CaptureEnd Capture(const std::wstring& cmd) override {
    EXPECT_EQ(pointer, 11) << "hourglass while capturing";
    EXPECT_FALSE(timer_armed) << "timer disarmed before any capture";
    log.push_back(cmd == kCmd13 ? "capture 13" : cmd == kCmd16 ? "capture 16" : "capture other");
    int i = 0;
    for (const auto& chunk : output[cmd]) {
      if (between_chunks) between_chunks(i++);
      status.SetSelText(chunk);
    }
    auto it = ends.find(cmd);
    return it == ends.end() ? CaptureEnd::PipeBroken : it->second;
  }
};

}  // namespace

// The arrangement of the pane after the run, for the four combinations; the
// 2016 message goes on the line after the 2013 output, an empty first line
// when that run said nothing.
TEST(StatusRun, FourCombinationsArrangeThePaneAsPrescribed) {
  const std::wstring out13 = L"Office 2013 line 1\r\nline 2\r\n";
  const std::wstring out16 = L"Office 2016 report\r\n";
  const std::vector<std::wstring> chunks13 = {L"Office 2013 ", L"line 1\r\n", L"line 2\r\n"};
  const struct {
    bool found13, found16;
    std::vector<std::wstring> output13;
    std::wstring want;
  } cases[] = {
      {true, true, chunks13, out16 + out13},
      {true, false, chunks13, out13 + L"\r\n" + kMsg16},
      {false, true, chunks13, out16 + kMsg13},
      {false, false, chunks13, kMsg13 + L"\r\n" + kMsg16},
      {true, false, {}, L"\r\n" + kMsg16},
      {true, false, {L"no break"}, L"no break\r\n" + kMsg16},
  };
  for (const auto& c : cases) {
    FakeForm form;
    form.path13 = c.found13 ? kCmd13 : kMsg13;
    form.path16 = c.found16 ? kCmd16 : kMsg16;
    form.output[kCmd13] = c.output13;
    form.output[kCmd16] = {L"Office 2016 ", L"report\r\n"};
    StatusRun(form).OnTimer();
    EXPECT_EQ(form.status.Text(), c.want) << c.found13 << c.found16 << c.output13.size();
    EXPECT_EQ(form.status.SelStart(), 0);
    EXPECT_EQ(form.pointer, 0);
    EXPECT_EQ(form.log.front(), "disarm");
  }
}

// Each run puts the caret back, then the pointer; a 2013 run that never
// started still lets 2016 run, one the user ended (the window closed while
// capturing) runs and writes nothing more. Ticks inside a menu or a move do
// nothing, and leave the timer armed for the next.
TEST(StatusRun, EachRunPutsTheCaretBackThenThePointer) {
  const std::vector<std::string> both = {"disarm",     "pointer 11", "capture 13",
                                         "selstart 0", "pointer 0",  "pointer 11",
                                         "capture 16", "selstart 0", "pointer 0"};
  const struct {
    CaptureEnd end13;
    std::vector<std::string> log;
    int ticks_in_loop = 0;
  } cases[] = {{CaptureEnd::PipeBroken, both},
               {CaptureEnd::NotStarted, both},
               {CaptureEnd::Abandoned, {"disarm", "pointer 11", "capture 13", "pointer 0"}},
               {CaptureEnd::PipeBroken, both, 2}};
  for (const auto& c : cases) {
    FakeForm form;
    form.path13 = kCmd13;
    form.path16 = kCmd16;
    form.output[kCmd13] = {L"partial"};
    form.ends[kCmd13] = c.end13;
    form.ticks_in_loop = c.ticks_in_loop;
    StatusRun run(form);
    for (int tick = 0; tick <= c.ticks_in_loop; ++tick) run.OnTimer();
    EXPECT_EQ(form.log, c.log) << static_cast<int>(c.end13);
    EXPECT_EQ(form.status.Text(), L"partial");
  }
}

// Only the exact message counts as not found; anything else is run.
TEST(StatusRun, NearMissesOfTheMessageAreRunAsCommandLines) {
  for (const std::wstring& text :
       {std::wstring(L"microsoft Office 2013 not found!"), kMsg13 + L" ", std::wstring(), kMsg16}) {
    FakeForm form;
    form.path13 = text;
    form.path16 = kMsg16;
    StatusRun(form).OnTimer();
    EXPECT_EQ(form.log[2], "capture other");
    EXPECT_EQ(form.status.Text(), L"\r\n" + kMsg16);
  }
}

TEST(StatusRun, ClickDuringCaptureMovesWhereLaterChunksGo) {
  FakeForm form;
  form.path13 = kMsg13;
  form.path16 = kCmd16;
  form.output[kCmd16] = {L"A", L"B"};
  form.between_chunks = [&](int i) {
    if (i == 1) form.status.SetSelStart(form.status.Text().size());
  };
  StatusRun(form).OnTimer();
  EXPECT_EQ(form.status.Text(), L"A" + kMsg13 + L"B");
}
