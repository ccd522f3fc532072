// The order in which a log's records are taken: the header step, the first record (which only names
// the first run's state), then every complete record, then the end of the last run. The measurement
// pass and the plot both walk a log this way; what they do with each record is theirs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "log/log_reader.h"
#include "log/value_batch.h"

namespace cycalc {

enum class PassOutcome {
    log_at_end,  // the log ended with its first line: no value was read
    complete,    // every record was read (or the log failed, which reads as its end)
};

// `visitor.record(current_state, next_state, cycles)` for every complete record after the first,
// with the state of the run in progress before the record is applied, or for many records at once
// `current_state = visitor.records(current_state, values, count)` (state ID and cycle count
// alternating, the same as `record` for each pair in turn); `visitor.last_run_ends(state)`
// once after them, when there was a first record. A record cut short by the log's end is dropped.
template <typename Visitor>
PassOutcome walk_log_records(LogReader& reader, std::uint32_t& current_state, Visitor& visitor) {
    if (skip_log_header(reader)) return PassOutcome::log_at_end;
    current_state = read_log_value(reader);
    read_log_value(reader);  // the first record's cycles are counted nowhere
    if (reader.end_of_input) return PassOutcome::complete;
    std::uint32_t batch[VALUE_BATCH];
    while (!reader.log->eof) {
        // Whole records straight from the block where its lines are plain; the line reads otherwise.
        if (reader.plain_lines_fast) {
            const std::size_t count = read_value_batch(reader, batch, VALUE_BATCH);
            if (count != 0) {
                current_state = visitor.records(current_state, batch, count);
                continue;
            }
        }
        const std::uint32_t next_state = read_log_value(reader);
        const std::uint32_t cycles = read_log_value(reader);
        if (reader.end_of_input) break;
        visitor.record(current_state, next_state, cycles);
        current_state = next_state;
    }
    // Whether the log ended inside a record or right after one, the run in progress ends here.
    visitor.last_run_ends(current_state);
    return PassOutcome::complete;
}

}  // namespace cycalc
