// UIViewController: owns a root view, made on first use (loadView, then viewDidLoad sent
// through the runtime so hooks see it).
#pragma once

#include "platform/uikit/view.h"

class UIViewController : public UIResponder {
    VEY_CLASS(UIViewController)
  public:
    ~UIViewController() override;
    template <class T = UIViewController> static Ref<T> make() {
        Ref<T> controller = alloc<T>();
        send<id>(controller.get(), "init");
        return controller;
    }

    // The root view, loaded on first use.
    UIView* view();
    UIView* viewIfLoaded() const { return view_; }
    bool isViewLoaded() const { return view_ != nullptr; }
    // Replaces the root view (the old one forgets its controller).
    void setView(UIView* view);
    // Makes the root view: a plain view the size of the main screen. Subclasses override.
    virtual void loadView();
    // Runtime implementation of viewDidLoad.
    virtual void viewDidLoad() {}

    UIUserInterfaceStyle overrideUserInterfaceStyle() const { return interfaceStyle_; }
    void setOverrideUserInterfaceStyle(UIUserInterfaceStyle style);

    void addChildViewController(UIViewController* child);
    void removeFromParentViewController();

    UIResponder* nextResponder() const override;

  private:
    Ref<UIView> view_;
    UIViewController* parent_ = nullptr;
    std::vector<Ref<UIViewController>> children_;
    UIUserInterfaceStyle interfaceStyle_ = UIUserInterfaceStyleUnspecified;
};
