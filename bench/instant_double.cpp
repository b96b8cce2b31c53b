// Stands in for the auto-clicker in launch benchmarks: it ends at once and
// writes nothing, so a launch costs only the start of a process.
int main() {}
