#pragma once

#include <functional>
#include <utility>

namespace quenyx::shell {

// Shows a dialog modally or, where a test has installed a handler for that kind of dialog, shows it without
// blocking and hands it over; a dialog the handler leaves open is closed as Cancel would close it.
template <typename Dialog> class ModalHook final
{
public:
    static void Set(std::function<void(Dialog&)> handler) { Handler() = std::move(handler); }

    static void Run(Dialog& dialog)
    {
        if (!Handler()) {
            dialog.exec();
            return;
        }
        dialog.show();
        Handler()(dialog);
        if (dialog.isVisible())
            dialog.reject();
    }

private:
    static std::function<void(Dialog&)>& Handler()
    {
        static std::function<void(Dialog&)> handler;
        return handler;
    }
};

} // namespace quenyx::shell
