#pragma once

#include "platform/Error.h"

#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// The fourteen other options: which key each control edits, how its value is converted each
// way, and the two procedures that move the values between the line arrays and the controls.
namespace OptionFields {

enum class OptionKind {
    Text,    // the bytes unchanged both ways
    Check,   // a switch: checked when on, written "True" or "False"
    Percent, // the file holds a fraction, the window shows a percentage
};

struct OptionField {
    std::string_view key;     // including its "="
    std::string_view control; // the control's name
    std::string_view caption; // how the window names the option to the user
    OptionKind kind;
    int typingLimit; // most characters the user may type; 0 for check boxes
};

inline constexpr std::size_t OptionFieldCount = 14;

// The rows in their fixed order; both procedures walk them in this order.
const std::array<OptionField, OptionFieldCount>& optionFieldTable();

// The fourteen controls as a window holds them, addressed by row. Text is the window's text;
// the conversion to and from each file's encoding is done here.
class OptionControls {
public:
    virtual ~OptionControls() = default;
    virtual std::u16string text(std::size_t row) const = 0;
    // Must raise no change notification when the control already holds the text.
    virtual void setText(std::size_t row, const std::u16string& text) = 0;
    virtual bool isChecked(std::size_t row) const = 0;
    virtual void setChecked(std::size_t row, bool checked) = 0;
    // The control's Tag: the index of its setting record as decimal text.
    virtual std::string tag(std::size_t row) const = 0;
    virtual void setTag(std::size_t row, const std::string& tag) = 0;
    // Shows the user a message of the record lookup (OK only, application title).
    virtual void showMessage(std::string_view message) = 0;
};

// Why a save was refused; nothing has been changed when it is thrown.
class OptionValueRefused : public Error {
public:
    enum class Reason {
        NotANumber,    // a percent box holds other text than the file's own value
        NotInCodePage, // a character the file's encoding (its code page, mostly) cannot hold
        LineBreak,     // a CR or LF, which would split the option's line in two
    };
    OptionValueRefused(std::size_t row, Reason reason, std::u16string text, std::size_t badIndex);

    std::size_t row() const noexcept { return row_; }
    const OptionField& field() const { return optionFieldTable()[row_]; }
    Reason reason() const noexcept { return reason_; }
    // The box's text as it stands.
    const std::u16string& text() const noexcept { return text_; }
    // For NotInCodePage and LineBreak, the position in text() of the first character refused.
    std::size_t badIndex() const noexcept { return badIndex_; }

private:
    std::size_t row_;
    Reason reason_;
    std::u16string text_;
    std::size_t badIndex_;
};

// A number as the percent options hold it: decimal point whatever the locale, the whole text,
// finite. Nothing otherwise.
std::optional<double> parseNumber(std::string_view text);
// The general format with at most 15 significant digits, so that 0.29 * 100 reads 29.
std::string formatNumber(double value);

// The percentage a file's fraction shows as; a value that is not a number shows as it stands.
std::string percentShown(std::string_view fileValue);
// The fraction a typed percentage is written as; nothing when the text is not a number.
std::optional<std::string> percentStored(std::u16string_view shownText);

// Frees every setting record, then for each row allocates a record, looks its key up, puts
// the value into the control and keeps the record's index in the control's tag.
void LoadOptionFields(OptionControls& controls);

// Puts every control's value into the line that its record names. Every value is converted
// before anything is changed: a refused value throws OptionValueRefused and leaves the records
// and the line arrays as they were.
void SaveOptionFields(OptionControls& controls);

// SaveOptionFields, then SaveIniFiles. When the files cannot be written, the records and the
// line arrays are put back as they were, so that they go on holding what the files hold.
void SaveOptionFieldsAndFiles(OptionControls& controls);

} // namespace OptionFields
