// The controls windows are built from. Each is a Qt widget plus Control
// (control.h): created with its parent (the form or a panel), its name and
// its geometry in the parent's client pixels, and visible at once:
//
//     Edit_Day = new Edit(this, "Edit_Day", 216, 48, 97, 24);
//     Edit_Day->OnKeyPress = [this](QChar& key) { Edit_DayKeyPress(key); };
//     Btn_OK = new Button(Panel1, "Btn_OK", "登　録", 540, 152, 121, 33);
//     Btn_OK->OnClick = [this] { Btn_OKClick(); };
//
// Text set from the program never counts as the user's change: setText()
// clears the modified flag, typing sets it. Change handlers run for both,
// like the handlers of the windows expect, and test modified() themselves.
//
// Text that arrives other than by typing (a paste by key, menu or middle
// button, a drop) passes the same key filter as typed text: a single-line
// box drops control characters (tab, line breaks, escape, ...), then hands
// each character to OnKeyPress; when the handler refuses one (key = 0) the
// whole text is refused, so "1e3" never becomes "13". The byte limit
// (setMaxBytes) refuses whole as well.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QPointer>
#include <QToolButton>
#include <optional>
#include <vector>

#include "ui/control.h"
#include "ui/keys.h"

class QButtonGroup;
class QRadioButton;

namespace tolvane::ui {

namespace detail {
class TextGate;
}

// Bytes `text` takes in Shift-JIS (CP932); a character CP932 cannot hold
// counts as two.
int shiftJisBytes(const QString& text);

// Input-method wish of a text box: Off for dates, times and numbers (the
// Japanese input method is not used), Hiragana for names and texts.
//
// Off: the box tells the input method it takes no input-method text, so the
// input method passes it by and the keys arrive as typed, whatever mode the
// user left the input method in. Hiragana: the input method is used in the
// mode the user chose; no input-method framework on this platform lets a
// program ask for hiragana mode (the boxes say they prefer no Latin input,
// nothing more).
enum class ImeMode { Default, Off, Hiragana };

// --- single-line edit -------------------------------------------------------
class Edit : public QLineEdit, public Control {
public:
    TOLVANE_CONTROL_NAMES
    Edit(QWidget* parent, const QString& name, int left, int top, int width, int height = 24);

    QString text() const { return QLineEdit::text(); }
    // Fills the box from the program: the modified flag is cleared, OnChange
    // runs when the text differs.
    void setText(const QString& text);
    void clear() { setText(QString()); }
    // Set by the user's typing (keys, input method, paste, cut, undo).
    bool modified() const { return modified_; }
    void setModified(bool m) { modified_ = m; }

    void setImeMode(ImeMode m);
    ImeMode imeMode() const { return ime_; }
    // Typed characters other than digits are refused (text set from the
    // program is not checked).
    void setNumbersOnly(bool on);
    bool numbersOnly() const { return numbersOnly_; }
    // The most bytes the text may take in Shift-JIS (0: no limit). Typing,
    // input-method text, pastes and drops that would pass it are refused
    // whole; text set from the program is not checked.
    void setMaxBytes(int bytes);
    int maxBytes() const;

    Handler OnChange;            // the text changed (typed or set)
    KeyPressHandler OnKeyPress;  // a character typed (Enter as 13), before it is typed
    Handler OnEnter;             // the box received the focus (Tab, click, program)
    Handler OnExit;              // the box lost the focus within its window

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool modified_ = false;
    bool numbersOnly_ = false;
    ImeMode ime_ = ImeMode::Default;
    detail::TextGate* gate_;
    detail::Composition composition_;
};

// --- multi-line memo --------------------------------------------------------
// Its text reads and writes with CR LF between lines; a text set with bare
// CR or LF line ends reads back with CR LF.
class Memo : public QPlainTextEdit, public Control {
public:
    TOLVANE_CONTROL_NAMES
    Memo(QWidget* parent, const QString& name, int left, int top, int width, int height);

    QString text() const;
    void setText(const QString& text);
    void clear() { setText(QString()); }
    QStringList lines() const;
    // Adds `line` as a new last line: the text then ends with it and CR LF.
    void linesAdd(const QString& line);

    bool modified() const { return modified_; }
    void setModified(bool m) { modified_ = m; }
    void setImeMode(ImeMode m);
    ImeMode imeMode() const { return ime_; }

    Handler OnChange;
    KeyPressHandler OnKeyPress;
    Handler OnEnter;
    Handler OnExit;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    // Pasted and dropped text: control characters other than line breaks and
    // tabs are dropped, the rest passes OnKeyPress as typed text does; a
    // character it refuses refuses the whole text.
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool modified_ = false;
    bool settingText_ = false;
    ImeMode ime_ = ImeMode::Default;
    detail::Composition composition_;
};

// --- combo box --------------------------------------------------------------
// Editable (typed text allowed) unless made a pick-only list. Typed text is
// never added to the items. While the list is dropped down the typing goes on
// into the box, the input method's text too (it lands once, whether the list
// marks an item or not); Enter chooses the item the list marks, or, with none
// marked, closes the list, keeps the text and reaches the box as with the
// list closed.
class ComboBox : public QComboBox, public Control {
public:
    TOLVANE_CONTROL_NAMES
    ComboBox(QWidget* parent, const QString& name, int left, int top, int width, int height = 24);

    void setPickOnly(bool on);   // a list the user can only choose from
    QString text() const { return currentText(); }
    void setText(const QString& text);   // selects the item with that text, if any
    void clearItems();
    void addItems(const QStringList& items) { QComboBox::addItems(items); }
    int itemCount() const { return count(); }
    int itemIndex() const { return currentIndex(); }
    void setItemIndex(int i);             // -1: no item, empty text
    void setDropDownCount(int rows) { setMaxVisibleItems(rows); }
    // Opens the list at the first character the user types; the typing
    // goes on into the box, the list marking the first item that begins
    // with the text.
    void setAutoDropDown(bool on) { autoDropDown_ = on; }
    void setImeMode(ImeMode m);
    ImeMode imeMode() const { return ime_; }
    // As Edit::setMaxBytes, for the typed text.
    void setMaxBytes(int bytes);
    int maxBytes() const;

    Handler OnChange;            // the user typed or chose (never the program)
    KeyPressHandler OnKeyPress;
    Handler OnEnter;
    Handler OnExit;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void followTypedText();
    void keepListInputMethod();
    bool listMarksItem() const;
    void enterWithNothingMarked(const QKeyEvent* e);
    bool autoDropDown_ = false;
    bool inInputMethod_ = false;
    int maxBytes_ = 0;
    ImeMode ime_ = ImeMode::Default;
    // The check of the line edit: owned by it, gone with it when the box is
    // made pick-only.
    QPointer<detail::TextGate> gate_;
    detail::Composition composition_;
};

// --- list box ---------------------------------------------------------------
// With columns > 0 the items fill the first column top to bottom, then the
// next; each column takes an equal share of the width and the list scrolls
// sideways when they do not fit.
class ListBox : public QListWidget, public Control {
public:
    TOLVANE_CONTROL_NAMES
    ListBox(QWidget* parent, const QString& name, int left, int top, int width, int height);

    void clearItems() { clear(); }
    void addItem(const QString& text);
    int itemCount() const { return count(); }
    QString itemText(int i) const;
    int itemIndex() const { return currentRow(); }
    void setItemIndex(int i);
    void setColumns(int n);
    int columns() const { return columns_; }
    void setItemHeight(int h);
    int itemHeight() const { return itemHeight_; }

    KeyPressHandler OnKeyPress;
    Handler OnEnter;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void relayout();
    int columns_ = 0;
    int itemHeight_ = 0;
};

// --- label ------------------------------------------------------------------
// Sizes itself to its caption unless auto-size is turned off.
class Label : public QLabel, public Control {
public:
    TOLVANE_CONTROL_NAMES
    Label(QWidget* parent, const QString& name, const QString& caption, int left, int top);
    Label(QWidget* parent, const QString& name, const QString& caption, int left, int top,
          int width, int height);

    QString caption() const { return text(); }
    void setCaption(const QString& caption);
    void setAutoSize(bool on);
    bool autoSize() const { return autoSize_; }
    void setFontPx(int pixelSize, bool bold = false);

protected:
    bool event(QEvent* e) override;

private:
    bool autoSize_ = true;
};

// A fixed-size label whose caption is kept as set (carriage returns included)
// and drawn with each carriage return as a line break.
class LineBreakLabel : public Label {
public:
    LineBreakLabel(QWidget* parent, const QString& name, int left, int top, int width, int height);

protected:
    void paintEvent(QPaintEvent* e) override;
};

// --- push button --------------------------------------------------------------
// Clicked by the mouse, by Space, or by Enter while it has the focus.
class Button : public QPushButton, public Control {
public:
    TOLVANE_CONTROL_NAMES
    Button(QWidget* parent, const QString& name, const QString& caption, int left, int top,
           int width, int height);
    QString caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    Handler OnEnter;

protected:
    void focusInEvent(QFocusEvent* e) override;
};

// A push button that draws each carriage return of its caption as a line
// break; the caption keeps them as set.
class LineBreakButton : public Button {
public:
    using Button::Button;

protected:
    void paintEvent(QPaintEvent* e) override;
};

// --- flat (speed) button ---------------------------------------------------
// Never takes the focus. With a group index other than 0 it stays down when
// clicked and releases the other buttons of its group on the same parent;
// unless all may be up, clicking the button that is down keeps it down.
class FlatButton : public QToolButton, public Control {
public:
    TOLVANE_CONTROL_NAMES
    FlatButton(QWidget* parent, const QString& name, const QString& caption, int left, int top,
               int width, int height);
    QString caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    void setGroupIndex(int g);
    int groupIndex() const { return group_; }
    void setAllowAllUp(bool on) { allowAllUp_ = on; }
    bool down() const { return isChecked(); }
    void setDown(bool d);

protected:
    void nextCheckState() override;

private:
    int group_ = 0;
    bool allowAllUp_ = false;
};

// --- check box ----------------------------------------------------------------
// OnClick runs whenever the box changes, by the user or by setChecked().
class CheckBox : public QCheckBox, public Control {
public:
    TOLVANE_CONTROL_NAMES
    CheckBox(QWidget* parent, const QString& name, const QString& caption, int left, int top,
             int width, int height);
    bool checked() const { return isChecked(); }
};

// --- panel ------------------------------------------------------------------
// A raised frame holding controls, its caption centred.
class Panel : public QFrame, public Control {
public:
    TOLVANE_CONTROL_NAMES
    enum class Bevel { None, Raised, Lowered };
    Panel(QWidget* parent, const QString& name, int left, int top, int width, int height,
          const QString& caption = QString());
    QString caption() const { return caption_; }
    void setCaption(const QString& c);
    void setBevelOuter(Bevel b);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QString caption_;
};

// --- bevel ----------------------------------------------------------------------
// A lowered frame drawn under the other controls; it takes no input.
class Bevel : public QFrame, public Control {
public:
    TOLVANE_CONTROL_NAMES
    Bevel(QWidget* parent, const QString& name, int left, int top, int width, int height);
};

// --- shape ----------------------------------------------------------------------
// A rectangle or circle with an outline and an optional fill; not seen when
// its width or height is 0. A hatched fill leaves what lies beneath visible
// between its lines.
class Shape : public QWidget, public Control {
public:
    TOLVANE_CONTROL_NAMES
    enum class Kind { Rectangle, Square, Circle, Ellipse };
    enum class Fill { Clear, Solid, BDiagonal, FDiagonal, Cross, DiagCross, Horizontal, Vertical };
    Shape(QWidget* parent, const QString& name, int left, int top, int width, int height);

    void setKind(Kind k);
    Kind kind() const { return kind_; }
    void setPen(const QColor& color, int width = 1);
    QColor penColor() const { return penColor_; }
    int penWidth() const { return penWidth_; }
    void setFill(Fill f, const QColor& color = Qt::white);
    Fill fill() const { return fill_; }
    QColor fillColor() const { return fillColor_; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    Kind kind_ = Kind::Rectangle;
    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    Fill fill_ = Fill::Solid;
    QColor fillColor_ = Qt::white;
};

// --- radio group ----------------------------------------------------------------
// Items arranged in columns (filled top to bottom, then the next column).
// OnClick runs when the chosen item changes, by the user or by setItemIndex.
class RadioGroup : public QGroupBox, public Control {
public:
    TOLVANE_CONTROL_NAMES
    RadioGroup(QWidget* parent, const QString& name, const QString& caption, int left, int top,
               int width, int height);
    void setItems(const QStringList& items);
    QStringList items() const { return items_; }
    void setColumns(int n);
    int columns() const { return columns_; }
    int itemIndex() const { return index_; }
    void setItemIndex(int i);
    QRadioButton* button(int i) const;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void arrange();
    QStringList items_;
    std::vector<QRadioButton*> buttons_;
    QButtonGroup* group_;
    int columns_ = 1;
    int index_ = -1;
    bool updating_ = false;
};

// --- progress bar -----------------------------------------------------------------
class ProgressBar : public QProgressBar, public Control {
public:
    TOLVANE_CONTROL_NAMES
    ProgressBar(QWidget* parent, const QString& name, int left, int top, int width, int height);
    int position() const { return value(); }
    void setPosition(int p) { setValue(p); }
};

// The whole text of a box as a decimal integer (blanks around it allowed);
// nothing when it is not one or does not fit 32 bits.
std::optional<int> wholeNumber(const QString& text);

}  // namespace tolvane::ui
