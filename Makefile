# The two set-up commands: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
SANITIZE ?= OFF
CTEST_JOBS ?= 2

.PHONY: run test build configure deps clean

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "make run: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2; \
		echo "make run: Horlan is a desktop program; start it from a graphical session." >&2; \
		exit 1; \
	fi
	./$(BUILD_DIR)/horlan

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(CTEST_JOBS)

build: configure
	cmake --build $(BUILD_DIR)

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
		cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DHORLAN_SANITIZE=$(SANITIZE); \
	fi

deps:
	@./scripts/install-deps

clean:
	rm -rf $(BUILD_DIR)
