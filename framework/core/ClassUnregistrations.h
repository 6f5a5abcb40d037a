#pragma once

namespace folio {

/// Counts the unregistrations so far. A class's information may go with the
/// library that brought it, and another may later take its address: whatever
/// is remembered about classes is valid only while this count stays.
unsigned ClassUnregistrations();

} // namespace folio
