# Front door: `make` builds both trees, `make test` runs every test.
# Each target installs the Debian packages it needs when they are missing.

WERROR ?= $(if $(CI),ON,OFF)
FUZZ_SECONDS ?= 20
CMAKE_FLAGS = -DKALVORA_WERROR=$(WERROR)
WINEPREFIX_DIR = $(CURDIR)/build/win32/wineprefix

.PHONY: all deps native native-asan win32 fuzz test test-native test-asan test-win32 test-fuzz bench bench-ratio bench-install format clean screenshots demo

all: native win32

deps:
	@sh scripts/install-deps.sh

native: deps
	cmake --preset native $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset native

native-asan: deps
	cmake --preset native-asan $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset native-asan

win32: deps
	cmake --preset win32 $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset win32

fuzz: deps
	cmake --preset fuzz $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset fuzz

# Every test of the four trees, side by side where they can be (scripts/run-tests.sh).
test: deps
	WERROR=$(WERROR) FUZZ_SECONDS=$(FUZZ_SECONDS) sh scripts/run-tests.sh

test-native: native
	ctest --preset native -j2

test-asan: native-asan
	ctest --preset native-asan -j2

test-fuzz: fuzz
	sh scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

test-win32: win32
	sh scripts/test-wine.sh

# The README's pictures of setup.exe, taken under Wine and Xvfb by the e2e driver
# from the X screen, as a user sees them.
screenshots: win32
	WINEPREFIX=$(WINEPREFIX_DIR) sh scripts/with-wine.sh build/win32/wine-run.sh build/win32/kvdrive.exe \
	  --scenario tests/e2e/screenshots/readme.scenario --setup build/win32/setup.exe \
	  --tool build/win32/kalvora.exe --media tests/e2e/media --work build/win32/e2e/screenshots \
	  --shots docs/screenshots --screen x
	# kvdrive writes PNG without compression; ImageMagick packs them for the repository.
	for f in docs/screenshots/*.png; do convert "$$f" -strip "$$f"; done

# The demo product on a floppy set, then its setup under Wine (on a display).
# The project is staged in build/demo-project with the viewer of the win32 tree
# in place of the placeholder program/demoview.exe.
demo: all
	rm -rf build/demo-project && cp -r examples/demo build/demo-project && rm -r build/demo-project/viewer
	cp build/win32/demoview.exe build/demo-project/program/demoview.exe
	build/native/kalvora build -q -o build/demo-medium build/demo-project/demo.kvp
	sh scripts/run-demo.sh $(CURDIR)/build/demo-medium/disk1 $(CURDIR)/build/demo-wineprefix

bench: native bench-ratio
	sh scripts/run-benchmarks.sh build/native

# LZH output size against an independent -lh1- encoder (BENCHMARKS.md).
bench-ratio: native
	@sh scripts/install-deps.sh bench
	sh scripts/bench-lzh-ratio.sh build/native

# Installs of one product by setup.exe (LZH, RLE, stored) and by NSIS under Wine, timed (BENCHMARKS.md).
bench-install: native win32
	sh scripts/bench-install.sh build/native build/win32

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
