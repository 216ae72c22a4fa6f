#pragma once
// An add-disc view without a window: it keeps the last message and every
// alert and question, and answers each question as told.
#include <string>
#include <string_view>
#include <vector>

#include "scan/AddDiscSession.h"

namespace discovel::test {

class QuietAddDiscView final : public AddDiscView {
 public:
  void SetProgress(int) override {}
  void ShowMessage(std::string_view text) override { message = text; }
  void SetCancelCaption(std::string_view) override {}
  void ShowEditPanel(bool) override {}
  void ShowProgressPanel(bool) override {}
  void ClearFields() override {}
  void SetMark(std::string_view) override {}
  void FocusMark() override {}
  void EnableOk(bool) override {}
  void Alert(std::string_view text) override { alerts.emplace_back(text); }
  bool Confirm(std::string_view question) override {
    questions.emplace_back(question);
    return confirm;
  }
  void CloseDialog(int) override {}

  std::string message;
  std::vector<std::string> alerts;
  std::vector<std::string> questions;
  bool confirm = false;
};

}  // namespace discovel::test
