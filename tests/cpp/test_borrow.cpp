#include <gtest/gtest.h>

#include "binding/borrow.hpp"

namespace {

using talvoran::binding::BorrowError;
using talvoran::binding::BorrowFlag;

std::string message_of(auto&& take) {
  try {
    take();
  } catch (const BorrowError& e) {
    return e.what();
  }
  return "";
}

TEST(BorrowFlag, ReadersShareAndExcludeAWriter) {
  BorrowFlag flag;
  {
    auto r1 = flag.borrow();
    auto r2 = flag.borrow();  // any number of readers
    EXPECT_EQ(message_of([&] { auto w = flag.borrow_mut(); }), "Already borrowed");
  }
  EXPECT_FALSE(flag.is_borrowed()) << "readers must release on scope exit";
  auto w = flag.borrow_mut();
  EXPECT_TRUE(flag.is_borrowed());
}

TEST(BorrowFlag, AWriterExcludesEveryone) {
  BorrowFlag flag;
  auto w = flag.borrow_mut();
  EXPECT_EQ(message_of([&] { auto r = flag.borrow(); }), "Already mutably borrowed");
  EXPECT_EQ(message_of([&] { auto w2 = flag.borrow_mut(); }), "Already borrowed");
}

TEST(BorrowFlag, ReleasedWhenTheGuardedCallThrows) {
  BorrowFlag flag;
  EXPECT_THROW(
      {
        auto w = flag.borrow_mut();
        throw std::runtime_error("operation failed");
      },
      std::runtime_error);
  EXPECT_FALSE(flag.is_borrowed());
}

TEST(BorrowFlag, ACopyStartsFree) {
  BorrowFlag flag;
  auto w = flag.borrow_mut();
  BorrowFlag copy = flag;
  EXPECT_FALSE(copy.is_borrowed());
}

}  // namespace
