// The route editor's model: a route file held as its bytes plus the values a
// run reads from it, edited table by table with undo, and saved so that what
// was not changed is written back exactly as found.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/diagnostics.h"
#include "data/route_data.h"
#include "data/route_sections.h"
#include "edit/route_folder.h"

namespace ts {
struct CheckDevices;
}

namespace ts::edit {

// A table of the editor: a list section of the route file that its
// description gives a tab (data/route_sections.h), named by the section's
// marker, so a new table needs no name of its own here. The names below are
// for the tables whose rows follow rules of their own (route_rows.cpp) or
// are drawn apart, and for the tests.
class TableKind {
public:
    // `marker` must outlive the kind: a literal or a description's own marker.
    constexpr explicit TableKind(std::string_view marker) : marker_(marker) {}
    constexpr std::string_view marker() const { return marker_; }
    // Its section's description (the first table's for a marker that names no table).
    const SectionDesc& section() const;

    friend constexpr bool operator==(TableKind a, TableKind b) { return a.marker_ == b.marker_; }
    friend constexpr bool operator<(TableKind a, TableKind b) { return a.marker_ < b.marker_; }

    static const TableKind Station, Signal, SpeedLimit, SpeedCheck, Slope, Sign, Tunnel, RouteSound, Announce, Doppler,
        StopSound, SpeedUnit, DistanceMark;

private:
    std::string_view marker_;
};

inline constexpr TableKind TableKind::Station{"[Station]"};
inline constexpr TableKind TableKind::Signal{"[Signal]"};
inline constexpr TableKind TableKind::SpeedLimit{"[SpeedLimit]"};
inline constexpr TableKind TableKind::SpeedCheck{"[SpeedCheck]"};
inline constexpr TableKind TableKind::Slope{"[Slope]"};
inline constexpr TableKind TableKind::Sign{"[Sign]"};
inline constexpr TableKind TableKind::Tunnel{"[Tunnel]"};
inline constexpr TableKind TableKind::RouteSound{"[Sound]"};
inline constexpr TableKind TableKind::Announce{"[Announce]"};
inline constexpr TableKind TableKind::Doppler{"[Doppler]"};
inline constexpr TableKind TableKind::StopSound{"[StopSound]"};
inline constexpr TableKind TableKind::SpeedUnit{"[SpeedUnit]"};
inline constexpr TableKind TableKind::DistanceMark{"[DistanceMark]"};

// The sections holding one value.
using SingleValue = RouteValue;

struct FieldInfo {
    enum class Type {
        Integer,
        Frame,     // a position in frames: the timeline drags these
        Time,      // 1/30 s ticks, shown as hh:mm:ss
        Text,      // decoded UTF-8
        Gradient,  // a slope's per-mille value as the file stores it
    };
    std::string name;
    Type type = Type::Integer;
};

class RouteDocument {
public:
    // Reads the route as a run would (a route with errors still opens; its
    // problems are in the live check).
    static std::optional<RouteDocument> open(const std::string& path, std::string* error);
    // A minimal valid route for a video of `videoFrames` frames, with the
    // picture and sound lists of `lists` (those of the route whose train it takes).
    static RouteDocument fresh(const std::string& videoFile, int videoFrames, const RouteLists& lists = {});

    RouteDocument(const RouteDocument&);
    RouteDocument& operator=(const RouteDocument&);
    RouteDocument(RouteDocument&&) noexcept;
    RouteDocument& operator=(RouteDocument&&) noexcept;
    ~RouteDocument();

    const RouteData& route() const;
    // The file's name without folder, e.g. "789_line.txt" (diagnostics use it).
    std::string fileName() const;

    int rowCount(TableKind) const;
    const std::vector<FieldInfo>& fields(TableKind) const;
    std::string text(TableKind, int row, int column) const;
    // Parses as the reader would and refuses what it would refuse.
    bool setText(TableKind, int row, int column, const std::string& text, std::string* error);
    // The row's values in columns of type Frame, in column order.
    std::vector<int> framePositions(TableKind, int row) const;
    // The column numbers of those values.
    std::vector<int> frameColumns(TableKind) const;
    bool setFrame(TableKind, int row, int column, int frame);
    // Adds a row with defaults around `atFrame`, keeping the order a run
    // needs; returns the new row's index.
    int addRow(TableKind, int atFrame);
    void removeRow(TableKind, int row);
    // Several rows at once, as one undo step.
    void removeRows(TableKind, std::vector<int> rows);

    // The lists of files (edit/file_lists.h), by their marker ("[SoundData]").
    // A value is a file name as the file holds it, decoded as its texts are.
    int listCount(const std::string& marker) const;
    std::string listText(const std::string& marker, int row, int column) const;
    bool setListText(const std::string& marker, int row, int column, const std::string& text, std::string* error);
    // An entry of `values` (one per column, missing ones empty) at `row`
    // (appended when beyond the end); its index, or -1 with `error`.
    int addListEntry(const std::string& marker, int row, const std::vector<std::string>& values, std::string* error);
    // Removes the entries `rows` as one undo step; false when none was there.
    bool removeListEntries(const std::string& marker, std::vector<int> rows);

    std::string single(SingleValue) const;
    // [VideoAlignment] written (or taken out when the copy is the route's own:
    // offset 0, rate kVideoRateUnit); refused outside the reader's ranges.
    bool setVideoAlignment(int offset, int rate, std::string* error);
    bool setSingle(SingleValue, const std::string& text, std::string* error);

    // The recorded speed as (frame, km/h) points, linear between them.
    std::vector<std::pair<int, int>> speedKeyframes() const;
    void setSpeedKeyframes(std::vector<std::pair<int, int>> points);
    int recordedSpeedAt(int frame) const;
    // The frames `metres` before and after `frame`, through the recorded speed.
    std::pair<int, int> framesAround(int frame, double metres) const;

    // The whole file replaced (an import that rewrote several sections), as
    // one undo step; false when it is the same.
    bool replaceFile(const std::string& bytes) { return apply(bytes); }

    // Several changes between these (one drag) undo as one.
    void beginGroup();
    void endGroup();
    bool undo();
    bool redo();
    bool canUndo() const;
    bool canRedo() const;
    bool modified() const;

    // The file as it would be saved.
    std::string bytes() const;
    // Writes beside the file and renames over it; clears modified().
    bool save(const std::string& path, std::string* error);

    std::function<void()> changed;

    struct State;

private:
    RouteDocument();
    // Makes `bytes` the document's file, recorded for undo; false when nothing changes.
    bool apply(const std::string& bytes);
    // A value as the file writes it, or a refusal.
    bool encodeValue(FieldInfo::Type type, const std::string& text, std::string& raw, std::string* error) const;
    // The table's entries replaced by `entries` (each the lines of one entry),
    // refused when the reader would refuse row `checkRow` (from 1, 0: none).
    bool writeEntries(TableKind kind, const std::vector<std::vector<std::string>>& entries, int checkRow,
                      std::string* error);
    std::vector<std::vector<std::string>> entries(TableKind kind) const;
    std::vector<std::vector<std::string>> listEntries(const SectionDesc& s) const;
    bool writeListEntries(const SectionDesc& s, const std::vector<std::vector<std::string>>& entries, int checkRow,
                          std::string* error);
    // Each stop's distance to the next stop rewritten into `rows` (the
    // [Station] table about to be written) when a stop moved; true if any changed.
    bool fillNextStopDistances(std::vector<std::vector<std::string>>& rows) const;

    std::unique_ptr<State> s_;
};

// The checker's diagnostics for the document as it stands, unsaved edits
// included, as `trainsim check` would report them with the other files of
// the data folder (the current folder, as for the checker).
Diagnostics checkDocument(const RouteDocument& doc, const std::string& code, CheckDevices& devices);

// The table row (from 0) a diagnostic of the route file belongs to.
std::optional<std::pair<TableKind, int>> rowOf(const Diagnostic& d);

}  // namespace ts::edit
