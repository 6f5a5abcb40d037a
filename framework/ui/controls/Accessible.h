#pragma once

#include "framework/core/Object.h"
#include "framework/core/Types.h"

#include <functional>
#include <memory>
#include <vector>

namespace folio {

class TControl;

// What an accessible object is to a screen reader.
enum class TAccRole : unsigned char {
    Window,
    Client,
    Grouping,
    PushButton,
    StaticText,
    Text,
    Graphic,
    PageTabList,
    PageTab,
    List,
    ListItem,
    Table,
    ColumnHeader,
    Cell,
    Grid,
    ProgressBar,
    Chart,
    ScrollBar,
    CheckBox,
    RadioButton,
    ToggleButton,
    Slider,
    SpinButton,
    StatusBar,
    ToolBar,
    Separator,
    ScrollPane,
    Tree,
    TreeItem,
};

// The role's name as accessibility buses spell it ("push button").
const char* AccRoleName(TAccRole Role);

// States, as bits of one number.
enum TAccState : unsigned {
    asFocusable = 1u << 0,
    asFocused = 1u << 1,
    asSelectable = 1u << 2,
    asSelected = 1u << 3,
    asExpandable = 1u << 4,
    asExpanded = 1u << 5,
    asDisabled = 1u << 6,
    asInvisible = 1u << 7,
    asOffscreen = 1u << 8,
    asReadOnly = 1u << 9,
    asCheckable = 1u << 10,
    asChecked = 1u << 11,
    // Neither checked nor unchecked: a grayed check box.
    asIndeterminate = 1u << 12,
    // A button that stays down (a tool button in its down state).
    asPressed = 1u << 13,
    // Text of several lines (a memo), where Enter starts a new line.
    asMultiLine = 1u << 14,
};

// The names of the set bits, separated by spaces ("focusable selected").
String AccStateNames(unsigned States);

// Where a value-bearing object stands in its range (a gauge, a scroll bar).
struct TAccRange {
    double Min = 0;
    double Max = 0;
    double Current = 0;
    // The least step the user can make; 0 for any.
    double Step = 0;
};

// One node of a program's accessibility tree. Nodes are made on demand from
// the live controls and read their state when asked, so a node says what
// the screen shows at the moment it is asked; a node must not outlive the
// control it was made for. Everything a desktop's accessibility bus needs
// is here, so exporting the tree is an adapter that only translates.
class TAccessible {
public:
    virtual ~TAccessible() = default;
    virtual TAccRole GetRole() const = 0;
    virtual String GetName() const = 0;
    // The hint, where there is one.
    virtual String GetDescription() const { return String(); }
    // What a value-bearing object holds ("42%", the text of an edit box).
    virtual String GetValue() const { return String(); }
    virtual unsigned GetStates() const { return 0; }
    // Screen coordinates; empty for an object that is not shown.
    virtual TRect GetBounds() const = 0;
    virtual int GetChildCount() const { return 0; }
    // Null for an index outside 0..ChildCount-1.
    virtual std::unique_ptr<TAccessible> GetChild(int Index) const;
    // Action names: "press", "expand".
    virtual std::vector<String> GetActions() const { return {}; }
    // Runs the named action as the user's input would; false when the object
    // has no such action or the action was refused.
    virtual bool DoAction(const String& Action);
    // The object's range and value; false for an object without one.
    virtual bool GetRange(TAccRange&) const { return false; }
    // Moves the value as the user could (kept in range); false for an
    // object whose value the user cannot set (a gauge).
    virtual bool SetRangeValue(double) { return false; }
    // Gives the object the keyboard; false when it cannot take it.
    virtual bool GrabFocus() { return false; }
    // What the object stands for (a control, a group, an item), the same for
    // every node made for it while it lives, so that an adapter can tell an
    // object from another that took its place; null for parts of a control
    // that are known only by their place (a calendar's cells).
    virtual const void* GetKey() const { return nullptr; }
};

// The accessible object of a control: made by the factory registered for its
// class or its nearest registered ancestor class, else by the generic one.
std::unique_ptr<TAccessible> GetAccessible(TControl* Control);
using TAccessibleFactory = std::unique_ptr<TAccessible> (*)(TControl* Control);
// A unit registers the accessible objects of its controls with a static
// object of this kind. Registrations for one class stack: the newest wins,
// and each leaves when its object is destroyed, so a library unloaded at
// run time takes its registrations with it.
class TAccessibleRegistration {
public:
    TAccessibleRegistration(const TClassInfo& Class, TAccessibleFactory Factory);
    ~TAccessibleRegistration();
    TAccessibleRegistration(const TAccessibleRegistration&) = delete;
    TAccessibleRegistration& operator=(const TAccessibleRegistration&) = delete;

private:
    const TClassInfo* FClass;
    TAccessibleFactory FFactory;
};

// The generic accessible object of a control: name from its caption, the
// hint as description, states from Enabled, Visible and the focus, bounds on
// the screen, and its shown child controls as children.
class TControlAccessible : public TAccessible {
public:
    TControlAccessible(TControl* Control, TAccRole Role);
    TAccRole GetRole() const override { return FRole; }
    String GetName() const override;
    String GetDescription() const override;
    unsigned GetStates() const override;
    TRect GetBounds() const override;
    int GetChildCount() const override;
    std::unique_ptr<TAccessible> GetChild(int Index) const override;
    bool GrabFocus() override;
    const void* GetKey() const override { return FControl; }

protected:
    TControl* FControl;
    TAccRole FRole;

private:
    std::vector<TControl*> ShownChildren() const;
};

// Changes a screen reader hears about as they happen.
enum class TAccEvent : unsigned char {
    // The control took the keyboard, or lost it.
    FocusGained,
    FocusLost,
    // A node's expanded or selected state changed (a group opened or closed).
    StateChanged,
    // A node's name changed (a caption renamed).
    NameChanged,
    // Children came, went or moved.
    ChildrenChanged,
};

// Who hears of the changes: the adapter that exports the tree, while it
// runs. Control is the control the changed node belongs to (the node itself
// or one of its parts) and Key the node's key (GetKey). A program without a
// listener pays one test per change.
using TAccEventListener = std::function<void(TControl* Control, const void* Key, TAccEvent Event)>;
void SetAccessibleEventListener(TAccEventListener Listener);
void NotifyAccessible(TControl* Control, const void* Key, TAccEvent Event);
inline void NotifyAccessible(TControl* Control, TAccEvent Event) {
    NotifyAccessible(Control, Control, Event);
}

// An indented text picture of the tree, one line per object: role, name in
// quotes, states in brackets and the value after '='. Children beyond
// MaxChildren per node are summed up in one line.
String DescribeAccessibleTree(const TAccessible& Root, int MaxChildren = 50);

} // namespace folio
