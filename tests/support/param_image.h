// A zeroed parameter image put in place of the program's for one test: the
// fixture installs it in its set-up and puts the previous image back in its
// tear-down.
#pragma once

#include <cstring>
#include <memory>

#include "frame/param_file.h"

namespace torvtest {

class TZeroedParamImage {
 public:
  void Install() {
    kept_ = ParamImage;
    image_ = std::make_unique<TParameterImage>();
    std::memset(image_.get(), 0, sizeof(TParameterImage));
    ParamImage = image_.get();
  }
  void Restore() { ParamImage = kept_; }
  TParameterImage& Image() { return *image_; }
  const TParameterImage& Image() const { return *image_; }

 private:
  TParameterImage* kept_ = nullptr;
  std::unique_ptr<TParameterImage> image_;
};

}  // namespace torvtest
