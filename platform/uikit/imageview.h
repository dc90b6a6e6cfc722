// UIImageView: an image drawn in the view's bounds by its content mode.
#pragma once

#include "platform/graphics/image.h"
#include "platform/uikit/view.h"

class UIImageView : public UIView {
    VEY_CLASS(UIImageView)
  public:
    UIView* initWithFrame(CGRect frame) override;

    UIImage* image() const { return image_; }
    void setImage(UIImage* image) { image_ = image; }

  private:
    Ref<UIImage> image_;
};
