// Unpacks the program's WebAssembly in the page as it comes in: Zstandard, which no browser
// unpacks by itself, makes it 4.8 MB against gzip's 6.5. The page hands it each piece that
// arrives and takes what came out, one stream at a time.
#include <emscripten/emscripten.h>
#include <stdlib.h>
#include <zstd.h>

static ZSTD_DStream* stream;
static ZSTD_inBuffer in;
static unsigned char* input;
static size_t inputCapacity;
static unsigned char output[1 << 17];
static size_t lastResult;

// Starts a stream; 0 when no memory is left for it.
EMSCRIPTEN_KEEPALIVE int unzstd_begin(void)
{
    if (!stream)
        stream = ZSTD_createDStream();
    if (!stream || ZSTD_isError(ZSTD_initDStream(stream)))
        return 0;
    in.size = in.pos = 0;
    lastResult = 1;
    return 1;
}

// Where the page writes the next SIZE bytes it received; null when no memory is left for them.
EMSCRIPTEN_KEEPALIVE unsigned char* unzstd_input(size_t size)
{
    if (size > inputCapacity) {
        unsigned char* larger = realloc(input, size);
        if (!larger)
            return NULL;
        input = larger;
        inputCapacity = size;
    }
    in.src = input;
    in.size = size;
    in.pos = 0;
    return input;
}

EMSCRIPTEN_KEEPALIVE unsigned char* unzstd_output(void)
{
    return output;
}

// Unpacks into the output what fits: its length, or -1 when the stream is damaged. The page calls
// it while input is left or the output came full.
EMSCRIPTEN_KEEPALIVE long unzstd_step(void)
{
    ZSTD_outBuffer out = { output, sizeof output, 0 };
    lastResult = ZSTD_decompressStream(stream, &out, &in);
    if (ZSTD_isError(lastResult))
        return -1;
    return (long)out.pos;
}

EMSCRIPTEN_KEEPALIVE int unzstd_input_left(void)
{
    return in.pos < in.size;
}

EMSCRIPTEN_KEEPALIVE size_t unzstd_output_size(void)
{
    return sizeof output;
}

// Whether the stream ended with a whole frame: a cut download leaves it unfinished.
EMSCRIPTEN_KEEPALIVE int unzstd_finished(void)
{
    return lastResult == 0 && in.pos == in.size;
}
