# make demo: build, then run the sample game under Wine on a virtual display.
# make test: every test (format, native, both product DLLs' checks, Windows-side under Wine,
#   a fuzz smoke run, the 32-bit batch, zellint's same output, the public header, the SDK).
# make product / make product64: the DLL for 32-bit / 64-bit games (build/product, build/product64).
# make test-release / test-sign: two builds give the same bytes; a signed dist verifies.
# make test-wine32: the tests of tests/wine32/selection.txt against the product DLL, 32-bit.
# make format-check: src/ as the house .clang-format writes it.
# make bench: the library's costs against a floor under 64-bit Wine, and the shipped sizes.
# make soak: CYCLES start/exit cycles (default 10000) against a misbehaving portal client, faults,
#   games started together, growth; one table. ARCH=x86: the shipped DLL under 32-bit Wine.
# make fuzz: every fuzz target for FUZZ_SECONDS each (default 60).
# make preview GAME=FOLDER...: zelpreview --zones on game folders, PNGs in build/preview/.
# make installer: the sample game's setup (NSIS), build/dist/ZelInterstitial-<version>-sample-setup.exe.
# make art: regenerate the committed artwork in res/art; make art-preview: PNG previews.
BUILD   ?= build
PRODUCT := $(BUILD)/product
PRODUCT64 := $(BUILD)/product64
TWIN    := $(BUILD)/twin
NATIVE  := $(BUILD)/native
TEST32  := $(BUILD)/test32
FUZZ    := $(BUILD)/fuzz
# The SDK folder make dist writes, named with the header's version.
VERSION := $(shell awk '/^\#define ZELINTERSTITIAL_VERSION_(MAJOR|MINOR|PATCH|BUILD) /{v=v s $$3; s="."} END{print v}' include/ZelInterstitial.h)
DIST    := $(BUILD)/dist/ZelInterstitial-$(VERSION)
CONSUMERS := $(BUILD)/sdk-consumers
SETUP   := $(BUILD)/dist/ZelInterstitial-$(VERSION)-sample-setup.exe
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 3
WINE    := scripts/wine/with-wine.sh
JOBS    ?= 2
MAKEFLAGS += --no-print-directory

.PHONY: all deps product twin native test test-native test-product test-windows \
	test-zellint format-check bench demo clean fuzz-build fuzz test-fuzz art art-preview test32 \
	test-wine32 product64 test-header test-sdk dist preview test-release test-sign installer soak

all: product product64 twin native

deps:
	@scripts/install-deps.sh

product: deps
	@cmake -S . -B $(PRODUCT) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake \
		-DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(PRODUCT) -j $(JOBS)

# The same DLL for 64-bit games: PE32+, built as the product is.
product64: deps
	@cmake -S . -B $(PRODUCT64) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake \
		-DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(PRODUCT64) -j $(JOBS)

twin: deps
	@cmake -S . -B $(TWIN) -DCMAKE_TOOLCHAIN_FILE=tests/win/toolchain-x86_64-mingw-posix.cmake \
		-DCMAKE_BUILD_TYPE=Release -DZI_WINDOWS_TESTS=ON \
		-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64 >/dev/null
	@cmake --build $(TWIN) -j $(JOBS)

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

test: format-check test-native test-product test-windows test-fuzz test-wine32 \
	test-zellint test-header test-sdk test-release

format-check: deps
	clang-format --dry-run -Werror $$(find src -name '*.cpp' -o -name '*.h')

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure

# The public header under both compilers, both architectures, as C and C++.
test-header: deps
	tests/header/compile.sh

# The files that ship: both DLLs as the SDK folder holds them, and every PE in it hardened.
test-product: dist
	tests/product/check-dll.sh $(DIST) $(PRODUCT) x86
	tests/product/check-dll.sh $(DIST) $(PRODUCT64) x64
	tests/product/pe_rules.py $(DIST)

test-windows: twin
	$(WINE) ctest --test-dir $(TWIN) --output-on-failure -j $(JOBS)

# The Windows-side tests as 32-bit programs (i686, posix thread model for GoogleTest), with
# the product DLL and zelpreview copied over their own builds: what they test is what ships.
test32: deps product test-sign installer
	@cmake -S . -B $(TEST32) -DCMAKE_TOOLCHAIN_FILE=tests/wine32/toolchain-i686-mingw-posix.cmake \
		-DCMAKE_BUILD_TYPE=Release -DZI_WINDOWS_TESTS=ON >/dev/null
	@cmake --build $(TEST32) -j $(JOBS)
	@cp $(PRODUCT)/bin/ZelInterstitial.dll $(TEST32)/bin/ZelInterstitial.dll
	@cp $(PRODUCT)/bin/zelpreview.exe $(TEST32)/bin/zelpreview.exe
	@tests/sdk/build-msvc-consumer.sh $(SIGNED)/ZelInterstitial-$(VERSION) x86 $(TEST32)/bin/msvc
	@cp $(SETUP) $(TEST32)/bin/sample-setup.exe

# The tests of tests/wine32/selection.txt against the product DLL under 32-bit Wine, in one
# batch: one namespace, one prefix, one wineserver.
test-wine32: test32
	tests/wine32/run.sh tests/wine32/programs.sh $(TEST32)/bin tests/wine32/selection.txt

# zellint and zellint.exe give the same output: the 64-bit build under Wine, the shipped
# 32-bit one under 32-bit Wine.
test-zellint: native twin product
	$(WINE) tests/zellint/same-output.sh $(NATIVE)/tools/zellint/zellint $(TWIN)/bin/zellint.exe
	tests/zellint/same-output.sh $(NATIVE)/tools/zellint/zellint $(PRODUCT)/bin/zellint.exe wine32

# Figures only: it judges nothing, and make test does not run it.
bench: product twin
	$(WINE) bench/run.sh $(TWIN)/bin $(PRODUCT)/bin/ZelInterstitial.dll $(BUILD)/bench

# Not part of make test, which runs its smoke (the zi_soak test). CYCLES start/exit cycles, 1
# in SHARE each with a client that ends unanswered, is killed or never answers (40 s each),
# FAULTS of each fault, ROUNDS of 2, 4 and 8 games started together; SEED repeats a run.
ARCH ?= x64
CYCLES ?= 10000
SHARE ?= 1000
FAULTS ?= 20
ROUNDS ?= 100
SEED ?= $(shell date +%s)
soak: $(if $(filter x86,$(ARCH)),test32,twin)
	@echo "soak: $(ARCH), $$(date -u '+%F %H:%M UTC'), load $$(cut -d' ' -f1-3 /proc/loadavg)"
	$(if $(filter x86,$(ARCH)),tests/wine32/run.sh,$(WINE)) sh -c '"$$WINE64" "$$0" "$$@"' \
		$(if $(filter x86,$(ARCH)),$(TEST32),$(TWIN))/bin/zi_soak.exe \
		$(CYCLES) $(SEED) $(SHARE) $(FAULTS) $(ROUNDS)
	@echo "soak: ended $$(date -u '+%H:%M UTC'), load $$(cut -d' ' -f1-3 /proc/loadavg)"

fuzz-build: deps
	@cmake -S tests/fuzz -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)

fuzz: fuzz-build
	tests/fuzz/run.sh $(FUZZ) $(FUZZ_SECONDS)

test-fuzz: fuzz-build
	tests/fuzz/run.sh $(FUZZ) $(FUZZ_SMOKE_SECONDS)

art: deps
	@cmake -S tools/artgen -B $(BUILD)/artgen -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)/artgen -j $(JOBS)
	$(BUILD)/artgen/artgen --out res/art --preview $(BUILD)/art-preview

art-preview: deps
	@cmake -S tools/artgen -B $(BUILD)/artgen -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)/artgen --target artpreview -j $(JOBS)
	@$(BUILD)/artgen/artpreview res/art $(BUILD)/demo/art

# zelpreview (the twin's 64-bit build) under Wine on a virtual display of DEPTH bits (24 or 8)
# at DPI dots per inch (96, 120 or 144): the faces, their hot zones and a contact sheet.
DEPTH ?= 24
DPI   ?= 96
preview: twin
	@[ -n "$(GAME)" ] || { echo "usage: make preview GAME=path/to/folder... [DEPTH=8] [DPI=120]" >&2; exit 2; }
	ZI_SCREEN=1024x768x$(DEPTH) $(WINE) scripts/preview.sh $(TWIN)/bin $(BUILD)/preview \
		$(DPI) $(GAME)

# The SDK: build/dist/ZelInterstitial-<version>/ (both DLLs, import libraries, header, CMake
# package, examples, docs) and its zip.
# SIGN_CERT=cert.pem SIGN_KEY=key.pem [SIGN_TIMESTAMP_URL=URL]: every PE signed (Authenticode).
dist: product product64
	@cmake -DBUILD=$(BUILD) -DSIGN_CERT=$(SIGN_CERT) -DSIGN_KEY=$(SIGN_KEY) \
		-DSIGN_TIMESTAMP_URL=$(SIGN_TIMESTAMP_URL) -P cmake/dist.cmake

# The release: a second x86 product, built in another folder without the compiler cache,
# packs to the same bytes; the SDK folder's checksums and changelog.
test-release: dist
	@cmake -S . -B $(BUILD)/repro/product -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake \
		-DCMAKE_BUILD_TYPE=Release >/dev/null
	@CCACHE_DISABLE=1 cmake --build $(BUILD)/repro/product -j $(JOBS) >/dev/null
	tests/release/reproducible.sh $(PRODUCT) $(BUILD)/repro/product $(BUILD)/repro
	tests/release/check-dist.sh $(DIST) $(VERSION)

# A dist signed with a throwaway CA ($(SIGNED)): each PE verifies; the 32-bit batch runs the
# MSVC-built game against its x86 DLL.
SIGNED := $(BUILD)/signed
test-sign: dist
	tests/release/sign.sh $(BUILD) $(SIGNED) $(DIST)

# The sample game's setup: the shipped 32-bit DLL and sample game, registered by NSIS's
# RegDLL (examples/installer). The 32-bit batch installs, runs and removes it.
installer: product
	@mkdir -p $(dir $(SETUP))
	makensis -V2 -DVERSION=$(VERSION) -DBIN=$(abspath $(PRODUCT)/bin) -DOUTFILE=$(abspath $(SETUP)) \
		examples/installer/sample-setup.nsi
	@echo "installer: $(SETUP)"

# Games that know only the SDK folder: the MSVC-ABI consumer for x64 (its x86 twin runs in
# the 32-bit batch) and the examples/ project built with find_package by MinGW for both.
test-sdk: dist
	tests/sdk/build-msvc-consumer.sh $(DIST) x64 $(CONSUMERS)/msvc-x64
	cd $(CONSUMERS)/msvc-x64 && timeout 120 $(CURDIR)/$(WINE) /usr/lib/wine/wine64 msvc_consumer_x64.exe
	tests/sdk/mingw-consumer.sh $(DIST) $(CONSUMERS)

demo: product twin art-preview native installer
	$(WINE) scripts/demo.sh $(TWIN)/bin $(BUILD)/demo
	scripts/zellint-demo.sh $(NATIVE)/tools/zellint/zellint $(BUILD)/demo/game $(BUILD)/demo
	@echo "demo: the sample game's setup is $(SETUP) (silently: /S /D=FOLDER)"

clean:
	rm -rf $(BUILD)
