# A convenience for developers; the set-up itself is ./build.sh (see the README), which needs
# no make. Every target here calls it.
.PHONY: run test build clean

run:
	./build.sh run

test:
	./build.sh test

build:
	./build.sh build

clean:
	rm -rf build
