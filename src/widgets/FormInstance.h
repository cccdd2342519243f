#pragma once

#include <memory>

// The one instance of a window class: created on first use, destroyed when unloaded. A window
// whose constructor is private names FormInstance<ItsClass> a friend.
template <typename Form> class FormInstance {
public:
    static Form& get() {
        if (!slot())
            slot().reset(new Form);
        return *slot();
    }
    static Form* existing() { return slot().get(); }
    static void unload() { slot().reset(); }

    // Lets go of the window and destroys it once the event loop is back in control, for a
    // window that ends itself from inside one of its own handlers.
    static void discardLater(Form* form) {
        if (slot().get() == form)
            slot().release()->deleteLater();
    }

private:
    static std::unique_ptr<Form>& slot() {
        static std::unique_ptr<Form> form;
        return form;
    }
};
