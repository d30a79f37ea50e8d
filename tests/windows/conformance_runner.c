/* conformance_runner LIBRARY SCENARIOS OUTPUT_DIR RESULTS
 *
 * Plays a scenario list (see scenario_player.h) against one build of the
 * library: the Windows DLL under Wine or Windows, or the portable build on
 * Linux. Every file the outputs write lands in OUTPUT_DIR, which becomes the
 * current directory (scenario paths are relative to it); the result of every
 * output goes to RESULTS. Comparing two runs file by file shows whether two
 * builds behave alike. */
#include <stdio.h>
#include <stdlib.h>

#include "binding.h"
#include "file_bytes.h"
#include "scenario_player.h"

int main(int argc, char **argv) {
    DmLibrary library;
    PlayCounts counts = {0, 0};
    char *scenarios;
    size_t size;
    FILE *results;
    int status;
    if (argc != 5) {
        fprintf(stderr, "usage: conformance_runner LIBRARY SCENARIOS OUTPUT_DIR RESULTS\n");
        return 2;
    }
    if (BindLibrary(argv[1], &library) != 0) return 1;
    scenarios = (char *)ReadFileBytes(argv[2], &size);
    if (scenarios == NULL) {
        fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    results = fopen(argv[4], "wb");
    if (results == NULL) {
        fprintf(stderr, "cannot write %s\n", argv[4]);
        return 1;
    }
    MakeDirectory(argv[3]);
    if (ChangeDirectory(argv[3]) != 0) {
        fprintf(stderr, "cannot enter %s\n", argv[3]);
        return 1;
    }
    ClearClipboard();
    status = PlayScenarios(scenarios, &library, results, &counts);
    fclose(results);
    free(scenarios);
    printf("%ld scenarios, %ld calls into the library\n", counts.scenarios, counts.calls);
    return status == 0 ? 0 : 1;
}
