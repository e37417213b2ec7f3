#pragma once

/// @file
/// A label bound to a medium roll: the medium roll's identity sets the
/// running speed (pitch) of timecode labels, setters raise a dirty flag, and
/// the keep string carries the identity after "MediumRollId".

#include <utility>

#include "marlix/export.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/types/transfer_type.h"
#include "marlix/values/label.h"

namespace marlix {

class MARLIX_API edit_label : public label {
public:
    /// The caller's buffer for make_keep_string holds this many characters.
    static constexpr int keep_buffer_capacity = 131;

    /// Type 0 on any medium, any generation.
    edit_label();
    /// A copy of l (revision 1) on medium roll id; timecode pitch fixed up.
    edit_label(label const& l, MediumRollIdent const& id);
    edit_label(label_t t, MediumRollIdent const& id);
    edit_label(label_point& p, MediumRollIdent const& id);
    /// Copies label and medium roll; the pitch is not fixed up.
    edit_label(edit_label const& e);
    /// Reads a keep string; the medium roll after "MediumRollId", or any
    /// medium and generation when there is none. A revision-2 text is read
    /// with a warning through the diagnostics.
    explicit edit_label(char const* text);
    ~edit_label();
    /// Label assignment and the medium roll; dirty, dumpable and the keep
    /// buffer stay.
    edit_label& operator=(edit_label const& e);

    /// Live edit labels.
    static int howmany;

    /// The label setters, raising dirty; each takes what the label's setter
    /// of its name takes.
    template <class T>
    void set_length(T&& n) {
        label::set_length(std::forward<T>(n));
        dirty = true;
    }
    template <class T>
    void set_start(T&& s) {
        label::set_start(std::forward<T>(s));
        dirty = true;
    }
    void set_pitch(double p) {
        label::set_pitch(p);
        dirty = true;
    }
    /// Natural pitch of t, then the medium's timecode pitch.
    void set_type(label_t t);

    MediumRollIdent& get_MediumRoll() { return medium_roll; }
    MediumRollIdent const& get_MediumRoll() const { return medium_roll; }
    /// A different identity: taken, pitch fixed up, dirty raised.
    void set_MediumRoll(MediumRollIdent const& id);
    void set_dirty(bool d) { dirty = d; }
    bool get_dirty() const { return dirty; }
    void set_dumpable(int d) { dumpable = d; }
    int get_dumpable() const { return dumpable; }
    bool is_valid() const;

    /// The pitch of an audio label from the transfer t and the medium m of
    /// the picture it is synchronised with; asks the host for the film speed.
    void fix_audio_label_pitch(transfer_type t, MediumRollMedium m);
    /// Both on one playout medium, up to scan.
    bool equivalentPlayoutLabelMediumRolls(edit_label const* other) const;
    /// Neither first generation, both media of one rate family.
    bool equivalentPreviousGenerationMediumRolls(edit_label const* other) const;

    bool operator==(edit_label const& e) const;
    bool operator!=(edit_label const& e) const { return !(*this == e); }
    /// The label keep string, then " MediumRollId m,g", into buffer
    /// (keep_buffer_capacity characters) or keep_buffer when it is null.
    char const* make_keep_string(char* buffer);

    MediumRollIdent medium_roll;
    bool dirty = false;
    char keep_buffer[keep_buffer_capacity];
    int dumpable = 1;

private:
    void init(MediumRollIdent const& id);
    void fixup_pitch();
};

/// The shared invalid edit label (type 0, medium roll (0, 0)).
MARLIX_API edit_label* invalid_edit_label();

}  // namespace marlix
