#pragma once

#include "framework/core/Object.h"
#include "framework/core/Types.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace folio {

class TControl;

/// What an accessible object is to a screen reader.
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
    /// A form's menu bar and its entries.
    MenuBar,
    MenuItem,
};

/// The role's name as accessibility buses spell it ("push button").
const char* AccRoleName(TAccRole Role);

/// States, as bits of one number.
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
    /// Neither checked nor unchecked: a grayed check box.
    asIndeterminate = 1u << 12,
    /// A button that stays down (a tool button in its down state).
    asPressed = 1u << 13,
    /// Text of several lines (a memo), where Enter starts a new line.
    asMultiLine = 1u << 14,
};

/// The names of the set bits, separated by spaces ("focusable selected").
String AccStateNames(unsigned States);

/// Where the caret and the selection of a text the user edits are: byte
/// offsets into the object's text (its value). SelStart == SelEnd when
/// nothing is selected; the caret is at one end of the selection.
struct TAccCaret {
    /// Byte offset of the caret.
    int Caret = 0;
    ///@{
    /// The selection, from SelStart up to (not including) SelEnd.
    int SelStart = 0;
    int SelEnd = 0;
    ///@}
};

/// Where a value-bearing object stands in its range (a gauge, a scroll bar).
struct TAccRange {
    ///@{
    /// The lowest and highest value and the value now.
    double Min = 0;
    double Max = 0;
    double Current = 0;
    ///@}
    /// The least step the user can make; 0 for any.
    double Step = 0;
};

/// How a table's cells lie among its children: first, when HeaderRow, one
/// column header per column (a calendar's day names), then Rows rows of
/// Columns cells each, row by row.
struct TAccTable {
    /// The rows of cells; a header row is not counted.
    int Rows = 0;
    /// The cells in each row, and the column headers when HeaderRow.
    int Columns = 0;
    /// Whether the first Columns children are the column headers.
    bool HeaderRow = false;
};

/// One node of a program's accessibility tree. Nodes are made on demand from
/// the live controls and read their state when asked, so a node says what
/// the screen shows at the moment it is asked; a node must not outlive the
/// control it was made for. Everything a desktop's accessibility bus needs
/// is here, so exporting the tree is an adapter that only translates.
class TAccessible {
public:
    virtual ~TAccessible() = default;
    /// What the object is (a push button, a list item).
    virtual TAccRole GetRole() const = 0;
    /// What a screen reader calls the object: a control's caption, a label's
    /// text, an item's caption.
    virtual String GetName() const = 0;
    /// The hint, where there is one.
    virtual String GetDescription() const { return String(); }
    /// What a value-bearing object holds ("42%", the text of an edit box).
    virtual String GetValue() const { return String(); }
    /// The TAccState bits that hold now; none by default.
    virtual unsigned GetStates() const { return 0; }
    /// Screen coordinates; empty for an object that is not shown.
    virtual TRect GetBounds() const = 0;
    /// How many children the object has; none by default.
    virtual int GetChildCount() const { return 0; }
    /// Null for an index outside 0..ChildCount-1.
    virtual std::unique_ptr<TAccessible> GetChild(int Index) const;
    /// Action names: "press", "expand".
    virtual std::vector<String> GetActions() const { return {}; }
    /// Runs the named action as the user's input would; false when the object
    /// has no such action or the action was refused.
    virtual bool DoAction(const String& Action);
    /// The object's range and value; false for an object without one.
    virtual bool GetRange(TAccRange&) const { return false; }
    /// Moves the value as the user could (kept in range); false for an
    /// object whose value the user cannot set (a gauge).
    virtual bool SetRangeValue(double) { return false; }
    /// Gives the object the keyboard; false when it cannot take it.
    virtual bool GrabFocus() { return false; }
    /// The caret and selection of an edited text; false for an object
    /// without a caret.
    virtual bool GetCaret(TAccCaret&) const { return false; }
    /// Selects bytes Start..End of the text with the caret at End (Start ==
    /// End: no selection), kept inside the text and on character starts;
    /// false for an object without a caret.
    virtual bool SetTextSelection(int /*Start*/, int /*End*/) { return false; }
    /// Replaces bytes Start..End of the text with Text, as typing would (the
    /// text's length limit holds, the caret ends after the new text); false
    /// when the user could not edit it now (read only, disabled).
    virtual bool ReplaceText(int /*Start*/, int /*End*/, const String& /*Text*/) { return false; }
    /// The shape of a table whose children are its cells; false for an
    /// object that is not a table.
    virtual bool GetTable(TAccTable&) const { return false; }
    /// What a table's column holds ("Value"): by default its header cell's
    /// name, nothing without a header row.
    virtual String GetColumnName(int Column) const;
    /// What a table's row stands for (the property a row of the inspector
    /// shows); by default nothing.
    virtual String GetRowName(int /*Row*/) const { return String(); }
    ///@{
    /// Controls this object is a label for, and labels that name this
    /// object: a label with a FocusControl and the control it names.
    virtual std::vector<TControl*> GetLabelFor() const { return {}; }
    virtual std::vector<TControl*> GetLabelledBy() const { return {}; }
    ///@}
    /// What the object stands for (a control, a group, an item), the same for
    /// every node made for it while it lives, so that an adapter can tell an
    /// object from another that took its place; null for parts of a control
    /// that are known only by their place (a calendar's cells).
    virtual const void* GetKey() const { return nullptr; }
};

/// The accessible object of a control: made by the factory registered for its
/// class or its nearest registered ancestor class, else by the generic one.
std::unique_ptr<TAccessible> GetAccessible(TControl* Control);
/// Makes the accessible object of a control of the registered class.
using TAccessibleFactory = std::unique_ptr<TAccessible> (*)(TControl* Control);
/// A unit registers the accessible objects of its controls with a static
/// object of this kind. Registrations for one class stack: the newest wins,
/// and each leaves when its object is destroyed, so a library unloaded at
/// run time takes its registrations with it.
class TAccessibleRegistration {
public:
    /// Registers Factory for the controls of Class and its descendants.
    TAccessibleRegistration(const TClassInfo& Class, TAccessibleFactory Factory);
    /// Takes the registration back; an older one for the class holds again.
    ~TAccessibleRegistration();
    TAccessibleRegistration(const TAccessibleRegistration&) = delete;
    TAccessibleRegistration& operator=(const TAccessibleRegistration&) = delete;

private:
    const TClassInfo* FClass;
    TAccessibleFactory FFactory;
};

/// The generic accessible object of a control: name from its caption (without
/// its accelerator mark), else from the label whose FocusControl it is, the
/// hint as description, its labels as relations, states from Enabled, Visible and the focus, bounds
/// on the screen, and its shown child controls as children.
class TControlAccessible : public TAccessible {
public:
    /// The object of Control, reporting Role.
    TControlAccessible(TControl* Control, TAccRole Role);
    /// The role given at construction.
    TAccRole GetRole() const override { return FRole; }
    /// The caption without its accelerator mark, else the text of the label
    /// whose FocusControl the control is.
    String GetName() const override;
    /// The short part of the control's hint.
    String GetDescription() const override;
    /// asDisabled, asInvisible, and for a windowed control asFocusable (a Tab
    /// stop that can take the focus) and asFocused.
    unsigned GetStates() const override;
    /// The control's client area on the screen; empty while it is hidden.
    TRect GetBounds() const override;
    /// The visible child controls.
    int GetChildCount() const override;
    /// The object of the Index-th visible child control; null outside the range.
    std::unique_ptr<TAccessible> GetChild(int Index) const override;
    /// Focuses a windowed control that can take the focus; true when it has it.
    bool GrabFocus() override;
    /// The control.
    const void* GetKey() const override { return FControl; }
    /// For a label, the control it names (its FocusControl).
    std::vector<TControl*> GetLabelFor() const override;
    /// The labels whose FocusControl is this control.
    std::vector<TControl*> GetLabelledBy() const override;

protected:
    /// The control the object stands for.
    TControl* FControl;
    /// The role reported.
    TAccRole FRole;

private:
    std::vector<TControl*> ShownChildren() const;
};

/// Changes a screen reader hears about as they happen.
enum class TAccEvent : unsigned char {
    /// The control took the keyboard, or lost it.
    FocusGained,
    FocusLost,
    /// A node's expanded or selected state changed (a group opened or closed).
    StateChanged,
    /// A node's name changed (a caption renamed).
    NameChanged,
    /// Children came, went or moved.
    ChildrenChanged,
    /// An edited text's caret moved, or its selection changed.
    CaretMoved,
    SelectionChanged,
};

/// Who hears of the changes: the adapter that exports the tree, while it
/// runs. Control is the control the changed node belongs to (the node itself
/// or one of its parts) and Key the node's key (GetKey). A program without a
/// listener pays one test per change.
using TAccEventListener = std::function<void(TControl* Control, const void* Key, TAccEvent Event)>;
/// Sets the one listener (an empty function: none), replacing the old one.
void SetAccessibleEventListener(TAccEventListener Listener);
///@{
/// Tells the listener, if any, of Event on the node Key of Control (by
/// default the control's own node); nothing for a null Control.
void NotifyAccessible(TControl* Control, const void* Key, TAccEvent Event);
inline void NotifyAccessible(TControl* Control, TAccEvent Event) {
    NotifyAccessible(Control, Control, Event);
}
///@}

/// A change of an edited text: Text inserted at byte Start, told once it
/// stands there, or removed from Start, told just before it goes or, for a
/// whole text replaced (Start 0), just after. A listener measures Start
/// against the text as it is when told (a bus counts characters, not bytes).
struct TAccTextChange {
    /// True: Text was inserted; false: removed.
    bool Inserted = false;
    /// The byte offset of the change in the text.
    int Start = 0;
    /// The bytes inserted or removed.
    std::string_view Text;
};
/// Hears each text change of Control.
using TAccTextListener = std::function<void(TControl* Control, const TAccTextChange& Change)>;
/// Sets the one text listener (an empty function: none), replacing the old one.
void SetAccessibleTextListener(TAccTextListener Listener);
/// Whether anyone hears of text changes: a control does the work of telling
/// only then.
bool AccessibleTextHeard();
/// Counts the text listeners set so far (0: none yet), so that a control can
/// tell whether what it last told reached the listener there is now.
unsigned AccessibleTextGeneration();
/// Tells the text listener, if any, of Change; nothing for a null Control
/// or an empty Text.
void NotifyAccessibleText(TControl* Control, const TAccTextChange& Change);

/// An indented text picture of the tree, one line per object: role, name in
/// quotes, states in brackets and the value after '='. Children beyond
/// MaxChildren per node are summed up in one line.
String DescribeAccessibleTree(const TAccessible& Root, int MaxChildren = 50);

} // namespace folio
