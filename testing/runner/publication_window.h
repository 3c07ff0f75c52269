#pragma once
// The publication's window and its Rectangles, each a real child window, as the host has them.
#include <windows.h>
#include <string>
#include <vector>
#include "publication.h"

namespace runner {

class PublicationWindow {
 public:
  explicit PublicationWindow(const Publication& publication);
  ~PublicationWindow();
  PublicationWindow(const PublicationWindow&) = delete;
  PublicationWindow& operator=(const PublicationWindow&) = delete;

  bool ok() const { return window_ != nullptr; }
  HWND window() const { return window_; }
  HWND Rectangle(const std::string& name) const;  // letter case ignored; null when unknown

 private:
  const Publication& publication_;
  HWND window_ = nullptr;
  std::vector<HWND> rectangles_;  // in the order of publication_.rectangles
};

}  // namespace runner
