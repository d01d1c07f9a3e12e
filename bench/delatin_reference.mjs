// The reference of pointcloud_bench: delatin (npm) meshes the same grid to the same maximum error.
// Usage: node delatin_reference.mjs <node_modules folder> <grid file: float64, row-major> <side>
// <maxError>. Prints "delatin <processor seconds> <vertices> <triangles> <rss bytes>".
import fs from 'fs';
import path from 'path';
import {pathToFileURL} from 'url';

const {default: Delatin} =
    await import(pathToFileURL(path.join(process.argv[2], 'delatin', 'index.js')).href);
const side = Number(process.argv[4]);
const maxError = Number(process.argv[5]);
const bytes = fs.readFileSync(process.argv[3]);
const heights = new Float64Array(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + side * side * 8));
const start = process.cpuUsage();
const tin = new Delatin(heights, side, side);
tin.run(maxError);
const used = process.cpuUsage(start);
const seconds = (used.user + used.system) / 1e6;
console.log(`delatin ${seconds} ${tin.coords.length / 2} ${tin.triangles.length / 3} ` +
            `${process.memoryUsage().rss}`);
