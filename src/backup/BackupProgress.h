#pragma once
// How a backup, restore or merge keeps the windows alive and tells how far it got.
#include <cstddef>
#include <string_view>

#include "platform/UiPump.h"

namespace discovel {

class BackupProgress {
 public:
  virtual ~BackupProgress() = default;
  // Step `done` of `total`; `what` names the file at hand.
  virtual void Show(std::size_t done, std::size_t total, std::string_view what) = 0;
};

class NoBackupProgress final : public BackupProgress {
 public:
  void Show(std::size_t, std::size_t, std::string_view) override {}
};

struct BackupPacing {
  BackupProgress& progress;
  // Called after every file; the caller paces it.
  UiPump& pump;

  void Step(std::size_t done, std::size_t total, std::string_view what) const {
    progress.Show(done, total, what);
    pump.Pump();
  }
};

}  // namespace discovel
