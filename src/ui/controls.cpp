#include "ui/controls.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QApplication>
#include <QInputMethod>
#include <QMimeData>
#include <QTextBlock>
#include <QValidator>
#include <optional>

#include "db/fb.h"
#include "ui/guard.h"
#include "ui/keys.h"

namespace tolvane::ui {

namespace {

void place(QWidget* w, const QString& name, int l, int t, int wd, int h) {
    w->setObjectName(name);
    w->setGeometry(l, t, std::max(0, wd), std::max(0, h));
    w->show();   // shown with its parent; at once when the parent is already visible
}

// Answers the input method's questions for a box whose input method is off:
// it takes no input-method text (Qt::ImEnabled false), the other answers
// being the box's own. The widget's own answer cannot be relied on: a line
// edit answers Qt::ImEnabled itself, whatever its attributes say. Input-method
// text sent to the box all the same (an input method committing a
// composition as the focus arrives) is dropped.
class InputMethodOff : public QObject {
public:
    static constexpr const char* kName = "tolvane_input_method_off";
    explicit InputMethodOff(QWidget* w) : QObject(w) { setObjectName(QLatin1String(kName)); }

    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::InputMethod) {   // sent to the focus whatever it answered
            e->accept();
            return true;
        }
        if (e->type() != QEvent::InputMethodQuery || !watched->isWidgetType()) return false;
        auto* query = static_cast<QInputMethodQueryEvent*>(e);
        const auto* w = static_cast<QWidget*>(watched);
        for (int bit = 0; bit < 32; ++bit) {
            const auto q = Qt::InputMethodQuery(int(query->queries()) & (1 << bit));
            if (q == 0) continue;
            query->setValue(q, q == Qt::ImEnabled ? QVariant(false) : w->inputMethodQuery(q));
        }
        query->accept();
        return true;
    }
};

void applyIme(QWidget* w, ImeMode m) {
    // The hints are a wish that input methods may or may not follow (the ibus
    // one never sees them); Off is made sure of by the box's own answer.
    w->setInputMethodHints(m == ImeMode::Off ? Qt::ImhPreferLatin | Qt::ImhNoPredictiveText
                                             : Qt::ImhNone);
    QObject* off = w->findChild<QObject*>(QLatin1String(InputMethodOff::kName),
                                          Qt::FindDirectChildrenOnly);
    if (m == ImeMode::Off && off == nullptr) w->installEventFilter(new InputMethodOff(w));
    if (m != ImeMode::Off) delete off;   // its filter goes with it
    if (QGuiApplication::focusObject() == w) QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

// Memo text: CR LF on the program's side, LF inside the control.
QString toControlText(QString s) {
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

bool isControlChar(QChar c) {
    const ushort u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029;
}

// Text that arrives other than by typing, through the box's key filter.
// Nothing when the filter refuses a character of it.
std::optional<QString> filterArriving(QWidget* w, const QString& text, bool singleLine,
                                      bool digitsOnly, const KeyPressHandler& keys) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (isControlChar(c)) {
            const bool keep = !singleLine && (c == u'\n' || c == u'\r' || c == u'\t');
            if (keep) out += c;
            continue;
        }
        if (digitsOnly && (c < u'0' || c > u'9')) return std::nullopt;
        out += c;
    }
    if (!keys) return out;
    QString passed;
    passed.reserve(out.size());
    for (QChar c : out) {
        if (isControlChar(c)) {   // the memo's line breaks and tabs
            passed += c;
            continue;
        }
        QChar key = c;
        if (!guarded(w->window(), [&] { keys(key); })) key = QChar(0);
        if (key == QChar(0)) return std::nullopt;
        passed += key;
    }
    return passed;
}

}  // namespace

int shiftJisBytes(const QString& text) {
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80) ascii = false;
    if (ascii) return int(text.size());
    try {
        return int(db::toShiftJis(text.toStdString()).size());
    } catch (const db::Error&) {
    }
    int n = 0;
    for (char32_t cp : text.toUcs4()) {
        try {
            n += int(db::toShiftJis(QString::fromUcs4(&cp, 1).toStdString()).size());
        } catch (const db::Error&) {
            n += 2;
        }
    }
    return n;
}

namespace detail {

// The check of a single-line box's text at every change the user makes
// (typing, input method, paste, drop, undo): it sees the text before and
// after, so it knows what arrived.
class TextGate : public QValidator {
public:
    TextGate(QLineEdit* edit, const KeyPressHandler* keys) : QValidator(edit), edit_(edit), keys_(keys) {
        committed_ = edit->text();
        QObject::connect(edit, &QLineEdit::textChanged, this, [this](const QString& t) { committed_ = t; });
    }

    int maxBytes = 0;
    bool digitsOnly = false;
    bool typing = false;       // keys and input-method text already filtered
    bool programSet = false;   // the program's own setText

    State validate(QString& input, int& pos) const override {
        if (programSet) return Acceptable;
        const QString& old = committed_;
        qsizetype p = 0;
        const qsizetype limit = std::min(old.size(), input.size());
        while (p < limit && old[p] == input[p]) ++p;
        qsizetype s = 0;
        while (s < limit - p && old[old.size() - 1 - s] == input[input.size() - 1 - s]) ++s;
        const QString arrived = input.mid(p, input.size() - p - s);
        if (arrived.isEmpty()) return Acceptable;   // something deleted
        if (!typing) {
            const auto passed = filterArriving(edit_, arrived, true, digitsOnly,
                                               keys_ ? *keys_ : KeyPressHandler());
            if (!passed) return refuse();
            if (*passed != arrived) {
                input = input.left(p) + *passed + input.right(s);
                pos = int(p + passed->size());
            }
        }
        if (maxBytes > 0) {
            const int bytes = shiftJisBytes(input);
            if (bytes > maxBytes && bytes > shiftJisBytes(old)) return refuse();
        }
        return Acceptable;
    }

private:
    State refuse() const {
        QApplication::beep();
        return Invalid;
    }
    QLineEdit* edit_;
    const KeyPressHandler* keys_;
    QString committed_;
};

// Marks what happens inside its scope as typing.
struct Typing {
    Typing(TextGate* g, bool on) : g_(g), was_(g ? g->typing : false) {
        if (g_) g_->typing = on;
    }
    ~Typing() {
        if (g_) g_->typing = was_;
    }
    TextGate* g_;
    bool was_;
};

}  // namespace detail

// --- Edit -------------------------------------------------------------------

Edit::Edit(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QLineEdit(parent), Control(this) {
    place(this, name, l, t, w, h);
    gate_ = new detail::TextGate(this, &OnKeyPress);
    setValidator(gate_);
    connect(this, &QLineEdit::textEdited, this, [this] {
        modified_ = true;
        run(OnChange);
    });
}

void Edit::setText(const QString& text) {
    const bool differs = text != QLineEdit::text();
    gate_->programSet = true;
    QLineEdit::setText(text);
    gate_->programSet = false;
    modified_ = false;
    if (differs) run(OnChange);
}

void Edit::setMaxBytes(int bytes) { gate_->maxBytes = std::max(0, bytes); }
int Edit::maxBytes() const { return gate_->maxBytes; }

void Edit::setImeMode(ImeMode m) {
    ime_ = m;
    applyIme(this, m);
}

void Edit::setNumbersOnly(bool on) {
    numbersOnly_ = on;
    gate_->digitsOnly = on;
}

void Edit::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Paste)) {   // checked by the gate as arriving text
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (numbersOnly_ && !detail::typedChars(e).isEmpty()) {
        const QString t = detail::typedChars(e);
        if (t.size() == 1 && t[0].unicode() >= 0x20 && (t[0] < u'0' || t[0] > u'9')) {
            e->accept();
            return;
        }
    }
    detail::Typing typing(gate_, true);
    auto v = detail::previewKey(this, e, OnKeyPress);
    if (v.pass) {
        QLineEdit::keyPressEvent(e);
    } else {
        e->accept();
        if (v.event) QLineEdit::keyPressEvent(v.event.get());
    }
}

void Edit::inputMethodEvent(QInputMethodEvent* e) {
    detail::Typing typing(gate_, !numbersOnly_);
    detail::deliverInputMethod(this, e, OnKeyPress, composition_,
                               [this](QInputMethodEvent* ev) { QLineEdit::inputMethodEvent(ev); });
}

void Edit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (detail::isEntering(e)) run(OnEnter);
}

void Edit::focusOutEvent(QFocusEvent* e) {
    composition_.focusLeft();
    QLineEdit::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        run(OnExit);
}

void Edit::mouseDoubleClickEvent(QMouseEvent* e) {
    QLineEdit::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) run(OnDblClick);
}

// --- Memo -------------------------------------------------------------------

Memo::Memo(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QPlainTextEdit(parent), Control(this) {
    place(this, name, l, t, w, h);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (settingText_) return;
        modified_ = true;
        run(OnChange);
    });
}

QString Memo::text() const {
    QString s = toPlainText();
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}

void Memo::setText(const QString& text) {
    const QString before = this->text();
    settingText_ = true;
    setPlainText(toControlText(text));
    settingText_ = false;
    modified_ = false;
    if (this->text() != before) run(OnChange);
}

QStringList Memo::lines() const {
    QStringList l = toPlainText().split(QLatin1Char('\n'));
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();   // the line break after the last line
    return l;
}

void Memo::linesAdd(const QString& line) {
    QString t = text();
    if (!t.isEmpty() && !t.endsWith(QStringLiteral("\r\n"))) t += QStringLiteral("\r\n");
    const bool keep = modified_;
    setText(t + line + QStringLiteral("\r\n"));
    modified_ = keep;
}

void Memo::setImeMode(ImeMode m) {
    ime_ = m;
    applyIme(this, m);
}

void Memo::keyPressEvent(QKeyEvent* e) {
    auto v = detail::previewKey(this, e, OnKeyPress);
    if (v.pass) {
        QPlainTextEdit::keyPressEvent(e);
    } else {
        e->accept();
        if (v.event) QPlainTextEdit::keyPressEvent(v.event.get());
    }
}

void Memo::inputMethodEvent(QInputMethodEvent* e) {
    detail::deliverInputMethod(this, e, OnKeyPress, composition_,
                               [this](QInputMethodEvent* ev) { QPlainTextEdit::inputMethodEvent(ev); });
}

void Memo::focusInEvent(QFocusEvent* e) {
    QPlainTextEdit::focusInEvent(e);
    if (detail::isEntering(e)) run(OnEnter);
}

void Memo::focusOutEvent(QFocusEvent* e) {
    composition_.focusLeft();
    QPlainTextEdit::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        run(OnExit);
}

void Memo::mouseDoubleClickEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) run(OnDblClick);
}

void Memo::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) return;
    const auto passed = filterArriving(this, source->text(), false, false, OnKeyPress);
    if (!passed) {
        QApplication::beep();
        return;
    }
    QMimeData filtered;
    filtered.setText(*passed);
    QPlainTextEdit::insertFromMimeData(&filtered);
}

// --- ComboBox ---------------------------------------------------------------

ComboBox::ComboBox(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QComboBox(parent), Control(this) {
    place(this, name, l, t, w, h);
    setPickOnly(false);
    // A user's choice: OnClick, then OnChange.
    connect(this, &QComboBox::activated, this, [this](int) {
        run(OnClick);
        run(OnChange);
    });
}

void ComboBox::setPickOnly(bool on) {
    setEditable(!on);
    // Making the box pick-only deletes its line edit and the gate with it;
    // an editable box keeps the line edit it has, and its gate.
    if (on || (gate_ != nullptr && gate_->parent() == lineEdit())) return;
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    gate_ = new detail::TextGate(lineEdit(), &OnKeyPress);
    gate_->maxBytes = maxBytes_;
    lineEdit()->setValidator(gate_);
    applyIme(lineEdit(), ime_);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        if (autoDropDown_ && view() != nullptr && !view()->isVisible()) showPopup();
        if (inInputMethod_) {
            // Not while the input method's event is delivered: moving the
            // list's mark then makes the input context commit its copy of
            // the text a second time.
            QMetaObject::invokeMethod(this, [this] { followTypedText(); }, Qt::QueuedConnection);
        } else {
            followTypedText();
        }
        run(OnChange);
    });
    // While the list is dropped down it takes the keyboard; typing still
    // goes to the box (eventFilter).
    if (view() != nullptr) view()->installEventFilter(this);
}

namespace {
bool isEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

// Keys that edit the box's text rather than move in the dropped list.
bool editsText(const QKeyEvent* e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    switch (e->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_F4:
        return false;
    default:
        return !e->text().isEmpty() && e->text().at(0).isPrint();
    }
}
}  // namespace

bool ComboBox::eventFilter(QObject* watched, QEvent* e) {
    if (watched == view() && isEditable()) {
        if (e->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(e)) && !listMarksItem()) {
            enterWithNothingMarked(static_cast<QKeyEvent*>(e));
            return true;
        }
        if (e->type() == QEvent::KeyPress && editsText(static_cast<QKeyEvent*>(e))) {
            keyPressEvent(static_cast<QKeyEvent*>(e));   // through the box's own key rules
            return true;
        }
        if (e->type() == QEvent::KeyRelease && editsText(static_cast<QKeyEvent*>(e))) return true;
        if (e->type() == QEvent::InputMethod) {
            inputMethodEvent(static_cast<QInputMethodEvent*>(e));
            return true;
        }
        if (e->type() == QEvent::Show) keepListInputMethod();
    }
    return QComboBox::eventFilter(watched, e);
}

// Enter in the dropped list chooses the marked item. With none marked it
// closes the list and reaches the box as it does with the list closed: the
// box's OnKeyPress sees 13 and the window's Enter chain goes on from the box.
bool ComboBox::listMarksItem() const {
    const QModelIndex i = view()->currentIndex();
    return i.isValid() && (i.flags() & Qt::ItemIsEnabled);
}

void ComboBox::enterWithNothingMarked(const QKeyEvent* e) {
    hidePopup();
    // Closing the popup gives the focus back to the box; the chain's next
    // focus move and any window it opens must start from there.
    if (!hasFocus()) QWidget::setFocus(Qt::PopupFocusReason);
    QKeyEvent enter(QEvent::KeyPress, e->key(), e->modifiers(), e->text());
    QApplication::sendEvent(this, &enter);
}

// With the list dropped down, the first item that begins with the typed text
// is marked (none when nothing matches, so Enter cannot replace the text with
// an item the user did not type).
void ComboBox::followTypedText() {
    if (view() == nullptr || !view()->isVisible()) return;
    const QString typed = lineEdit()->text();
    const int i = typed.isEmpty() ? -1 : findText(typed, Qt::MatchStartsWith);
    view()->setCurrentIndex(i >= 0 ? model()->index(i, modelColumn(), rootModelIndex())
                                   : QModelIndex());
    keepListInputMethod();
}

// The dropped list takes the input method only while it marks an item
// (an item view does so for an editable current item): with none marked the
// input method would be bypassed and the keys typed raw into the box. The
// list takes it as long as the box does.
void ComboBox::keepListInputMethod() {
    if (view() != nullptr && isEditable() && ime_ != ImeMode::Off)
        view()->setAttribute(Qt::WA_InputMethodEnabled);
}

namespace {
// The program fills the combo's line: not checked by the gate.
struct ProgramSet {
    explicit ProgramSet(detail::TextGate* g) : g_(g) {
        if (g_) g_->programSet = true;
    }
    ~ProgramSet() {
        if (g_) g_->programSet = false;
    }
    detail::TextGate* g_;
};
}  // namespace

void ComboBox::setText(const QString& text) {
    ProgramSet set(isEditable() ? gate_.data() : nullptr);
    const int i = findText(text, Qt::MatchExactly);
    if (i >= 0) setCurrentIndex(i);
    else if (isEditable()) {
        setCurrentIndex(-1);
        setEditText(text);
    }
}

void ComboBox::clearItems() {
    ProgramSet set(isEditable() ? gate_.data() : nullptr);
    clear();
    if (isEditable()) setEditText(QString());
}

void ComboBox::setItemIndex(int i) {
    ProgramSet set(isEditable() ? gate_.data() : nullptr);
    setCurrentIndex(i);
    if (i < 0 && isEditable()) setEditText(QString());
}

void ComboBox::setMaxBytes(int bytes) {
    maxBytes_ = std::max(0, bytes);
    if (gate_ != nullptr) gate_->maxBytes = maxBytes_;
}
int ComboBox::maxBytes() const { return maxBytes_; }

void ComboBox::setImeMode(ImeMode m) {
    ime_ = m;
    applyIme(this, m);
    if (lineEdit() != nullptr) applyIme(lineEdit(), m);
    // The dropped list answers as the box does: off while the box is off,
    // its own answer (keepListInputMethod) otherwise.
    if (view() != nullptr) applyIme(view(), m);
}

void ComboBox::keyPressEvent(QKeyEvent* e) {
    detail::Typing typing(isEditable() ? gate_.data() : nullptr, !e->matches(QKeySequence::Paste));
    auto v = detail::previewKey(this, e, OnKeyPress);
    if (v.pass) {
        QComboBox::keyPressEvent(e);
    } else {
        e->accept();
        if (v.event) QComboBox::keyPressEvent(v.event.get());
    }
}

void ComboBox::inputMethodEvent(QInputMethodEvent* e) {
    detail::Typing typing(isEditable() ? gate_.data() : nullptr, true);
    detail::deliverInputMethod(this, e, OnKeyPress, composition_, [this](QInputMethodEvent* ev) {
        const QScopedValueRollback<bool> inside(inInputMethod_, true);
        QComboBox::inputMethodEvent(ev);
    });
}

void ComboBox::focusInEvent(QFocusEvent* e) {
    QComboBox::focusInEvent(e);
    if (detail::isEntering(e)) run(OnEnter);
}

void ComboBox::focusOutEvent(QFocusEvent* e) {
    composition_.focusLeft();
    QComboBox::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        run(OnExit);
}

// --- ListBox ----------------------------------------------------------------

ListBox::ListBox(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QListWidget(parent), Control(this) {
    place(this, name, l, t, w, h);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setFrameShape(QFrame::StyledPanel);
    connect(this, &QListWidget::itemClicked, this, [this] { run(OnClick); });
    relayout();
}

void ListBox::addItem(const QString& text) { QListWidget::addItem(text); }

QString ListBox::itemText(int i) const {
    const QListWidgetItem* it = item(i);
    return it ? it->text() : QString();
}

void ListBox::setItemIndex(int i) {
    setCurrentRow(i);
    if (i < 0) clearSelection();
}

void ListBox::setColumns(int n) {
    columns_ = std::max(0, n);
    relayout();
}

void ListBox::setItemHeight(int h) {
    itemHeight_ = h;
    relayout();
}

void ListBox::relayout() {
    const int h = itemHeight_ > 0 ? itemHeight_ : fontMetrics().height() + 2;
    const int viewW = std::max(1, viewport()->width());
    if (columns_ > 0) {
        setFlow(QListView::TopToBottom);
        setWrapping(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setGridSize(QSize(std::max(1, viewW / columns_), h));
    } else {
        setFlow(QListView::TopToBottom);
        setWrapping(false);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setGridSize(QSize(viewW, h));
    }
}

void ListBox::resizeEvent(QResizeEvent* e) {
    QListWidget::resizeEvent(e);
    relayout();
}

void ListBox::keyPressEvent(QKeyEvent* e) {
    auto v = detail::previewKey(this, e, OnKeyPress);
    if (!v.pass) {
        e->accept();
        if (v.event) QListWidget::keyPressEvent(v.event.get());
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(e);
    if (currentRow() != before) run(OnClick);   // a selection moved by the keyboard
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    QListWidget::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) run(OnDblClick);
}

void ListBox::focusInEvent(QFocusEvent* e) {
    QListWidget::focusInEvent(e);
    if (detail::isEntering(e)) run(OnEnter);
}

// --- Label ------------------------------------------------------------------

Label::Label(QWidget* parent, const QString& name, const QString& caption, int l, int t)
    : QLabel(parent), Control(this) {
    setTextFormat(Qt::PlainText);
    place(this, name, l, t, 0, 0);
    setCaption(caption);
}

Label::Label(QWidget* parent, const QString& name, const QString& caption, int l, int t, int w,
             int h)
    : QLabel(parent), Control(this), autoSize_(false) {
    setTextFormat(Qt::PlainText);
    place(this, name, l, t, w, h);
    setCaption(caption);
}

void Label::setCaption(const QString& caption) {
    setText(caption);
    if (autoSize_) adjustSize();
}

void Label::setAutoSize(bool on) {
    autoSize_ = on;
    if (on) adjustSize();
}

void Label::setFontPx(int pixelSize, bool bold) {
    Control::setFontPx(pixelSize, bold);
    if (autoSize_) adjustSize();
}

bool Label::event(QEvent* e) {
    if (dispatchMouse(e)) return true;
    const bool r = QLabel::event(e);
    if (e->type() == QEvent::FontChange && autoSize_) adjustSize();
    return r;
}

LineBreakLabel::LineBreakLabel(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : Label(parent, name, QString(), l, t, w, h) {}

void LineBreakLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QString shown = caption();
    shown.replace(QChar(13), QChar(10));
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(contentsRect(), int(alignment()), shown);
}

// --- Button -----------------------------------------------------------------

Button::Button(QWidget* parent, const QString& name, const QString& caption, int l, int t, int w,
               int h)
    : QPushButton(caption, parent), Control(this) {
    place(this, name, l, t, w, h);
    setAutoDefault(true);   // Enter clicks the button that has the focus
    connect(this, &QPushButton::clicked, this, [this] { run(OnClick); });
}

void Button::focusInEvent(QFocusEvent* e) {
    QPushButton::focusInEvent(e);
    if (detail::isEntering(e)) run(OnEnter);
}

void LineBreakButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton o;
    initStyleOption(&o);
    o.text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    p.drawControl(QStyle::CE_PushButton, o);
}

// --- FlatButton -------------------------------------------------------------

FlatButton::FlatButton(QWidget* parent, const QString& name, const QString& caption, int l, int t,
                       int w, int h)
    : QToolButton(parent), Control(this) {
    setText(caption);
    place(this, name, l, t, w, h);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(this, &QToolButton::clicked, this, [this] { run(OnClick); });
}

void FlatButton::setGroupIndex(int g) {
    group_ = g;
    setCheckable(g != 0);
}

void FlatButton::setDown(bool d) {
    if (group_ == 0) return;
    setChecked(d);
    if (d && parentWidget() != nullptr) {
        // FlatButton has no meta-object of its own: findChildren<FlatButton*>
        // would give every tool button.
        for (auto* q : parentWidget()->findChildren<QToolButton*>(QString(),
                                                                  Qt::FindDirectChildrenOnly)) {
            auto* other = dynamic_cast<FlatButton*>(q);
            if (other != nullptr && other != this && other->group_ == group_) other->setChecked(false);
        }
    }
}

void FlatButton::nextCheckState() {
    if (group_ == 0) return;
    if (isChecked()) {
        if (allowAllUp_) setChecked(false);
        return;
    }
    setDown(true);
}

// --- CheckBox ---------------------------------------------------------------

CheckBox::CheckBox(QWidget* parent, const QString& name, const QString& caption, int l, int t,
                   int w, int h)
    : QCheckBox(caption, parent), Control(this) {
    place(this, name, l, t, w, h);
    connect(this, &QCheckBox::toggled, this, [this] { run(OnClick); });
}

// --- Panel ------------------------------------------------------------------

Panel::Panel(QWidget* parent, const QString& name, int l, int t, int w, int h,
             const QString& caption)
    : QFrame(parent), Control(this), caption_(caption) {
    place(this, name, l, t, w, h);
    setBevelOuter(Bevel::Raised);
}

void Panel::setCaption(const QString& c) {
    caption_ = c;
    update();
}

void Panel::setBevelOuter(Bevel b) {
    switch (b) {
    case Bevel::None: setFrameStyle(QFrame::NoFrame); break;
    case Bevel::Raised: setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    case Bevel::Lowered: setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    }
    setLineWidth(1);
}

bool Panel::event(QEvent* e) {
    if (dispatchMouse(e)) return true;
    return QFrame::event(e);
}

void Panel::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    if (caption_.isEmpty()) return;
    QPainter p(this);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                             QPalette::WindowText));
    p.drawText(rect(), Qt::AlignCenter, caption_);
}

// --- Bevel ------------------------------------------------------------------

Bevel::Bevel(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QFrame(parent), Control(this) {
    place(this, name, l, t, w, h);
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setLineWidth(1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    lower();
}

// --- Shape ------------------------------------------------------------------

Shape::Shape(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QWidget(parent), Control(this) {
    place(this, name, l, t, w, h);
    setMouseTracking(true);
}

void Shape::setKind(Kind k) {
    kind_ = k;
    update();
}

void Shape::setPen(const QColor& color, int width) {
    penColor_ = color;
    penWidth_ = std::max(0, width);
    update();
}

void Shape::setFill(Fill f, const QColor& color) {
    fill_ = f;
    fillColor_ = color;
    update();
}

bool Shape::event(QEvent* e) {
    if (dispatchMouse(e)) return true;
    return QWidget::event(e);
}

void Shape::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) return;
    QPainter p(this);
    // The outline lies inside the bounds, as thick as the pen.
    int x = penWidth_ / 2, y = x;
    int w = width() - penWidth_ + 1, h = height() - penWidth_ + 1;
    if (penWidth_ == 0) {
        --w;
        --h;
    }
    if (kind_ == Kind::Square || kind_ == Kind::Circle) {
        if (w < h) {
            y += (h - w) / 2;
            h = w;
        } else {
            x += (w - h) / 2;
            w = h;
        }
    }
    if (w <= 0 || h <= 0) return;
    Qt::BrushStyle bs = Qt::NoBrush;
    switch (fill_) {
    case Fill::Clear: bs = Qt::NoBrush; break;
    case Fill::Solid: bs = Qt::SolidPattern; break;
    case Fill::BDiagonal: bs = Qt::BDiagPattern; break;
    case Fill::FDiagonal: bs = Qt::FDiagPattern; break;
    case Fill::Cross: bs = Qt::CrossPattern; break;
    case Fill::DiagCross: bs = Qt::DiagCrossPattern; break;
    case Fill::Horizontal: bs = Qt::HorPattern; break;
    case Fill::Vertical: bs = Qt::VerPattern; break;
    }
    p.setBrush(QBrush(fillColor_, bs));
    if (penWidth_ > 0) {
        QPen pen(penColor_, penWidth_);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
    } else {
        p.setPen(Qt::NoPen);
    }
    const QRect r(x, y, w - 1, h - 1);
    if (kind_ == Kind::Circle || kind_ == Kind::Ellipse) {
        p.setRenderHint(QPainter::Antialiasing);
        p.drawEllipse(r);
    } else {
        p.drawRect(r);
    }
}

// --- RadioGroup -------------------------------------------------------------

RadioGroup::RadioGroup(QWidget* parent, const QString& name, const QString& caption, int l, int t,
                       int w, int h)
    : QGroupBox(caption, parent), Control(this), group_(new QButtonGroup(this)) {
    place(this, name, l, t, w, h);
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || updating_ || id == index_) return;
        index_ = id;
        run(OnClick);
    });
}

void RadioGroup::setItems(const QStringList& items) {
    for (auto* b : buttons_) delete b;
    buttons_.clear();
    items_ = items;
    index_ = -1;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(objectName() + QStringLiteral("_") + QString::number(i));
        group_->addButton(b, i);
        buttons_.push_back(b);
        b->show();
    }
    arrange();
}

void RadioGroup::setColumns(int n) {
    columns_ = std::max(1, n);
    arrange();
}

void RadioGroup::setItemIndex(int i) {
    if (i < -1 || i >= static_cast<int>(buttons_.size()) || i == index_) return;
    updating_ = true;
    if (i < 0) {
        group_->setExclusive(false);
        for (auto* b : buttons_) b->setChecked(false);
        group_->setExclusive(true);
    } else {
        buttons_[i]->setChecked(true);
    }
    updating_ = false;
    index_ = i;
    run(OnClick);
}

QRadioButton* RadioGroup::button(int i) const {
    return i >= 0 && i < static_cast<int>(buttons_.size()) ? buttons_[i] : nullptr;
}

void RadioGroup::resizeEvent(QResizeEvent* e) {
    QGroupBox::resizeEvent(e);
    arrange();
}

void RadioGroup::changeEvent(QEvent* e) {
    QGroupBox::changeEvent(e);
    if (e->type() == QEvent::FontChange) arrange();
}

// The items stand in rows between the frame lines (the style's contents
// rectangle: inside the frame, under the title), the ink of their text centred
// in each row. When the text's ink would not leave a pixel free at both ends
// of a row, the items take a smaller font, so that no item sits on the frame.
void RadioGroup::arrange() {
    const int n = static_cast<int>(buttons_.size());
    if (n == 0) return;
    const int perCol = (n + columns_ - 1) / columns_;
    const QRect area = contentsRect();
    const int colW = std::max(1, (width() - 10) / columns_);
    const int rowH = std::max(1, area.height() / perCol);
    const QString all = items_.join(QString());
    QFont itemFont = font();
    for (int px = itemFont.pixelSize(); px > 8; --px) {
        itemFont.setPixelSize(px);
        if (QFontMetrics(itemFont).tightBoundingRect(all).height() <= rowH - 2) break;
    }
    const QFontMetrics fm(itemFont);
    const QRect ink = fm.tightBoundingRect(all);
    // A button centres its line box: the ink lies this far below its centre.
    const int inkBelowCentre = (ink.top() + ink.bottom() + fm.ascent() - fm.descent()) / 2;
    const int btnH =
        std::max(fm.height(), style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight)) + 4;
    for (int i = 0; i < n; ++i) {
        const int col = i / perCol, row = i % perCol;
        const int centre = area.top() + row * rowH + rowH / 2 - inkBelowCentre;
        buttons_[i]->setFont(itemFont);
        buttons_[i]->setGeometry(8 + col * colW, centre - btnH / 2, colW - 4, btnH);
    }
}

// --- ProgressBar ------------------------------------------------------------

ProgressBar::ProgressBar(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QProgressBar(parent), Control(this) {
    place(this, name, l, t, w, h);
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return v;
}

}  // namespace tolvane::ui
