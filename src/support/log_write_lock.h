#pragma once
// TLogWriteLock: keeps the one write of a log line apart from the writes of every other
// thread and process of this user. Windows appends through an append-only handle in one step;
// Wine emulates that append by reading the file's size and then writing there, and two
// processes can both read the same size. The lock is a word in shared memory, so taking it
// costs no call into the system (no Wine server round trip), unlike a file-range lock.
class TLogWriteLock {
 public:
  TLogWriteLock();   // waits for the lock; goes on without it if the shared memory is unavailable
  ~TLogWriteLock();  // gives it back
  TLogWriteLock(const TLogWriteLock&) = delete;
  TLogWriteLock& operator=(const TLogWriteLock&) = delete;
  bool held() const { return held_; }

 private:
  bool held_ = false;
};
