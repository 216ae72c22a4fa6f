#pragma once
// A bare visible window for tests that put controls on a form.
#include "ui/Form.h"

namespace discovel::test {

class TestHostForm final : public Form {
 public:
  // Shows the window with a client area of at least `width` × `height`.
  void Create(int width = 640, int height = 480);
};

}  // namespace discovel::test
