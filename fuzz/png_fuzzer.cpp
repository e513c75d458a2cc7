// libFuzzer target for the PNG decoder, memory form.
#include "fuzz/decoder_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz_decoder(png_decoder, data, size);
}
