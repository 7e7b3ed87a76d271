#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/dllmain.h"

namespace {

std::string last_error() {
  char buf[ENGINE_TEXT_BUF] = {};
  GetLastErrMsg(buf);
  return buf;
}

TEST(KeyMode, AcceptsBothModesAndRefusesOthers) {
  ASSERT_EQ(SetAllKeyMode(KEYMODE_DMA), 0);
  EXPECT_EQ(GetAllKeyMode(), KEYMODE_DMA);
  ASSERT_EQ(SetAllKeyMode(KEYMODE_NODUP), 0);
  EXPECT_EQ(GetAllKeyMode(), KEYMODE_NODUP);

  for (int bad : {-1, 2, 99}) {
    EXPECT_NE(SetAllKeyMode(bad), 0) << bad;
    EXPECT_EQ(GetAllKeyMode(), KEYMODE_NODUP) << "a refused mode must leave the mode unchanged";
    EXPECT_EQ(last_error(), "Invalid key mode " + std::to_string(bad) +
                                ": expected 0 (no duplicates) or 1 (direct memory access)");
  }
}

TEST(LastError, IsCutAt512BytesAndNulTerminated) {
  const std::string long_text(700, 'x');
  SetLastErrMsg(long_text.c_str());
  char buf[ENGINE_TEXT_BUF];
  std::fill(std::begin(buf), std::end(buf), '#');
  GetLastErrMsg(buf);
  EXPECT_EQ(std::string(buf), std::string(ENGINE_TEXT_LEN, 'x'));
  EXPECT_EQ(buf[ENGINE_TEXT_LEN], '\0');

  SetLastErrMsg(nullptr);
  EXPECT_EQ(last_error(), "");
}

TEST(LastError, IsKeptPerThread) {
  SetLastErrMsg("main thread");
  std::string seen_in_worker;
  std::thread worker([&] {
    seen_in_worker = last_error();
    SetLastErrMsg("worker thread");
  });
  worker.join();
  EXPECT_EQ(seen_in_worker, "") << "a new thread starts with no message";
  EXPECT_EQ(last_error(), "main thread") << "a worker's failure must not clobber ours";
}

}  // namespace

namespace {

std::vector<std::pair<int, std::string>> records;

void collect(int level, const char* message) { records.emplace_back(level, message); }

TEST(LogSink, RecordsReachTheSinkUntilItIsRemoved) {
  EngineLog(20, "dropped: no sink yet");
  SetLogSink(&collect);
  EngineLog(20, "loaded 3 records");
  EngineLog(30, nullptr);  // ignored
  SetLogSink(nullptr);
  EngineLog(40, "dropped again");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].first, 20);
  EXPECT_EQ(records[0].second, "loaded 3 records");
}

}  // namespace
