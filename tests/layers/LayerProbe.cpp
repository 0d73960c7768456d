// Compiled once for each layer probe: includes the one header the probe names, with
// only the include folders of the library the probe is built against.
#include VZ_PROBE_HEADER
