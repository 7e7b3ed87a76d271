// Exclusive-access guard for records that Python methods read and change.
//
// A method that changes its object holds it exclusively for the whole call; any method holds the
// objects it reads. Taking an object exclusively while it is held raises "Already borrowed";
// reading it while it is held exclusively raises "Already mutably borrowed". This catches, for
// example, a satellite passed as the `other` argument of one of its own changing methods.
// All access happens under the interpreter lock, so the counter needs no atomics.
#pragma once

#include <stdexcept>

namespace talvoran::binding {

class BorrowError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class BorrowFlag {
 public:
  class Shared {
   public:
    explicit Shared(const BorrowFlag& flag) : flag_(&flag) {
      if (flag.state_ < 0) throw BorrowError("Already mutably borrowed");
      ++flag.state_;
    }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;
    ~Shared() { --flag_->state_; }

   private:
    const BorrowFlag* flag_;
  };

  class Exclusive {
   public:
    explicit Exclusive(BorrowFlag& flag) : flag_(&flag) {
      if (flag.state_ != 0) throw BorrowError("Already borrowed");
      flag.state_ = -1;
    }
    Exclusive(const Exclusive&) = delete;
    Exclusive& operator=(const Exclusive&) = delete;
    ~Exclusive() { flag_->state_ = 0; }

   private:
    BorrowFlag* flag_;
  };

  BorrowFlag() = default;
  // A copied record is a new object: it starts unborrowed.
  BorrowFlag(const BorrowFlag&) noexcept {}
  BorrowFlag& operator=(const BorrowFlag&) noexcept { return *this; }

  [[nodiscard]] Shared borrow() const { return Shared(*this); }
  [[nodiscard]] Exclusive borrow_mut() { return Exclusive(*this); }

  bool is_borrowed() const { return state_ != 0; }

 private:
  // > 0: that many readers; -1: held exclusively; 0: free.
  mutable int state_ = 0;
};

}  // namespace talvoran::binding
