/* The scenario list's commands, each turned into calls of the library. */
#include "scenario_player.h"

#include <stdlib.h>
#include <string.h>

#define MAX_WORDS 6

typedef struct Player {
    const DmLibrary *library;
    FILE *results;
    PlayCounts *counts;
    char scenario[128];
} Player;

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/* Decodes an even number of hexadecimal digits into bytes; returns the
 * number of bytes or -1. */
static long DecodeHex(const char *hex, unsigned char *bytes) {
    size_t length = strlen(hex);
    size_t i;
    if (length % 2 != 0) return -1;
    for (i = 0; i < length; i += 2) {
        int high = HexDigit(hex[i]);
        int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return -1;
        bytes[i / 2] = (unsigned char)(high * 16 + low);
    }
    return (long)(length / 2);
}

static int ParseDoubleBits(const char *hex, double *value) {
    unsigned char bytes[8];
    unsigned long long bits = 0;
    int i;
    if (strlen(hex) != 16 || DecodeHex(hex, bytes) != 8) return -1;
    for (i = 0; i < 8; ++i) bits = (bits << 8) | bytes[i];
    memcpy(value, &bits, sizeof *value);
    return 0;
}

/* A message of `count` bytes repeating `pattern`, zero-terminated. */
static char *FillMessage(const char *patternHex, long count) {
    unsigned char pattern[64];
    long patternLength = strlen(patternHex) <= 2 * sizeof pattern ? DecodeHex(patternHex, pattern) : -1;
    char *message;
    long i;
    if (patternLength <= 0 || count < 0) return NULL;
    message = malloc((size_t)count + 1);
    if (message == NULL) return NULL;
    for (i = 0; i < count; ++i) message[i] = (char)pattern[i % patternLength];
    message[count] = '\0';
    return message;
}

/* The hexadecimal bytes as a zero-terminated string from malloc. */
static char *DecodeMessage(const char *hex) {
    char *message = malloc(strlen(hex) / 2 + 1);
    long length = message != NULL ? DecodeHex(hex, (unsigned char *)message) : -1;
    if (length < 0) {
        free(message);
        return NULL;
    }
    message[length] = '\0';
    return message;
}

/* The bytes a "message" or "message-fill" command passes, from malloc. */
static char *MessageBytes(char **words, int count) {
    if (count == 1) return calloc(1, 1);
    if (strcmp(words[0], "message-fill") == 0) return FillMessage(words[1], atol(words[2]));
    return DecodeMessage(words[1]);
}

static void WriteClipboard(Player *player, const char *path) {
    unsigned char *bits = NULL;
    size_t size = 0;
    FILE *file;
    switch (ReadClipboardMetafile(&bits, &size)) {
        case kClipboardMetafile:
            file = fopen(path, "wb");
            if (file == NULL || fwrite(bits, 1, size, file) != size) {
                fprintf(player->results, "%s clipboard %s cannot be written\n", player->scenario, path);
            } else {
                fprintf(player->results, "%s clipboard %s %lu\n", player->scenario, path, (unsigned long)size);
            }
            if (file != NULL) fclose(file);
            free(bits);
            break;
        case kClipboardEmpty:
            fprintf(player->results, "%s clipboard empty\n", player->scenario);
            break;
        case kClipboardUnreadable:
            fprintf(player->results, "%s clipboard unreadable\n", player->scenario);
            break;
    }
}

/* The file name a path word stands for: NULL and EMPTY are the null
 * pointer and the empty string. */
static const char *FileName(const char *word) {
    if (strcmp(word, "NULL") == 0) return NULL;
    if (strcmp(word, "EMPTY") == 0) return "";
    return word;
}

static void Save(Player *player, const char *kind, const char *path) {
    const DmLibrary *library = player->library;
    unsigned char result = strcmp(kind, "bmp") == 0 ? library->SaveAsBMP(path) : library->SaveAsWMF(path);
    fprintf(player->results, "%s %s %s %d\n", player->scenario, kind,
            path == NULL ? "NULL" : path[0] == '\0' ? "EMPTY" : path, result);
}

/* Runs one command; returns 0, or -1 when it is not understood. */
static int Play(Player *player, char **words, int count) {
    const DmLibrary *library = player->library;
    const char *command = words[0];
    if (strcmp(command, "scenario") != 0 && strcmp(command, "mkdir") != 0 && strcmp(command, "note") != 0 &&
        strcmp(command, "readonly") != 0) {
        player->counts->calls += 1;
    }
    if (strcmp(command, "scenario") == 0 && count == 2 && strlen(words[1]) < sizeof player->scenario) {
        strcpy(player->scenario, words[1]);
        player->counts->scenarios += 1;
    } else if (strcmp(command, "default") == 0 && count == 1) {
        library->SetDefault();
    } else if (strcmp(command, "size") == 0 && count == 3) {
        library->SetSize(atoi(words[1]), atoi(words[2]));
    } else if (strcmp(command, "message-null") == 0 && count == 1) {
        library->SetMessage(NULL);
    } else if ((strcmp(command, "message") == 0 && count <= 2) || (strcmp(command, "message-fill") == 0 && count == 3)) {
        char *message = MessageBytes(words, count);
        if (message == NULL) return -1;
        library->SetMessage(message);
        free(message);
    } else if (strcmp(command, "info") == 0 && count == 4) {
        double moduleSize;
        if (ParseDoubleBits(words[1], &moduleSize) != 0) return -1;
        library->SetInfo(moduleSize, atoi(words[2]), atoi(words[3]));
    } else if (strcmp(command, "back") == 0 && count == 4) {
        library->SetBackColor(atoi(words[1]), atoi(words[2]), atoi(words[3]));
    } else if (strcmp(command, "bar") == 0 && count == 4) {
        library->SetBarColor(atoi(words[1]), atoi(words[2]), atoi(words[3]));
    } else if ((strcmp(command, "bmp") == 0 || strcmp(command, "wmf") == 0) && count == 2) {
        Save(player, command, FileName(words[1]));
    } else if (strcmp(command, "clip") == 0 && count == 2) {
        fprintf(player->results, "%s clip %d\n", player->scenario, library->CopyToClipboard());
        WriteClipboard(player, words[1]);
    } else if (strcmp(command, "note") == 0 && count == 2) {
        fprintf(player->results, "%s note %s\n", player->scenario, words[1]);
    } else if (strcmp(command, "mkdir") == 0 && count == 2) {
        if (MakeDirectory(words[1]) != 0) fprintf(player->results, "%s mkdir %s failed\n", player->scenario, words[1]);
    } else if (strcmp(command, "readonly") == 0 && count == 2) {
        if (MakeReadOnly(words[1]) != 0) fprintf(player->results, "%s readonly %s failed\n", player->scenario, words[1]);
    } else {
        return -1;
    }
    return 0;
}

/* Splits a line at single spaces; returns the number of words or -1. */
static int SplitWords(char *line, char **words) {
    int count = 0;
    char *word = strtok(line, " ");
    while (word != NULL) {
        if (count == MAX_WORDS) return -1;
        words[count++] = word;
        word = strtok(NULL, " ");
    }
    return count;
}

int PlayScenarios(char *text, const DmLibrary *library, FILE *results, PlayCounts *counts) {
    Player player;
    long lineNumber = 0;
    char *line = text;
    player.library = library;
    player.results = results;
    player.counts = counts;
    strcpy(player.scenario, "-");
    while (line != NULL && *line != '\0') {
        char *end = strchr(line, '\n');
        char *words[MAX_WORDS];
        int count;
        if (end != NULL) *end = '\0';
        lineNumber += 1;
        if (end != NULL && end > line && end[-1] == '\r') end[-1] = '\0';
        if (line[0] != '#' && line[0] != '\0') {
            count = SplitWords(line, words);
            if (count <= 0 || Play(&player, words, count) != 0) {
                fprintf(stderr, "scenario line %ld not understood: %s\n", lineNumber, line);
                return -1;
            }
        }
        line = end != NULL ? end + 1 : NULL;
    }
    return 0;
}
