#!/usr/bin/env bash
# Placeholder until the fuzz targets exist.
echo "fuzz: no targets yet"
