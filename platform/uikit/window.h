// UIWindow, the root of a view tree on screen, and UIApplication, which knows the windows.
#pragma once

#include "platform/uikit/controller.h"
#include "platform/uikit/view.h"

class UIWindow : public UIView {
    VEY_CLASS(UIWindow)
  public:
    UIView* initWithFrame(CGRect frame) override;
    ~UIWindow() override;

    // Shows the controller's view as the window's content, filling the window.
    void setRootViewController(UIViewController* controller);
    // Makes this the key window and shows it (the application keeps it).
    void makeKeyAndVisible();
    bool isKeyWindow() const;

  private:
    Ref<UIViewController> root_;
};

class UIApplication : public UIResponder {
    VEY_CLASS(UIApplication)
  public:
    // The application object: the one the host set (SpringBoard's, a subclass), or a plain
    // one made on first use. Also the runtime class method sharedApplication.
    static UIApplication* sharedApplication();
    // Makes `app` the shared application (the host does this at start).
    static void setSharedApplication(UIApplication* app);

    // Visible windows, in the order they were shown.
    const std::vector<Ref<UIWindow>>& windows() const { return windows_; }
    UIWindow* keyWindow() const { return key_; }

  private:
    friend class UIWindow;
    std::vector<Ref<UIWindow>> windows_;
    UIWindow* key_ = nullptr;
};
