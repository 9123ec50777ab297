// The independent side of the differential test: each page parsed with
// parse5 (an HTML5 tree builder, scripting on), its links found in the tree
// and resolved with the WHATWG URL parser, and judged by the rule the page
// check promises:
//   "Link Found" when an HTML <a> or <area>, or an SVG <a>, outside template
//   content has an href (SVG: else xlink:href) that resolves, against the page
//   address and the first <base href>, to the advertiser (http and https one,
//   leading "www." optional, default port dropped, path compared without
//   letter case and final "/", at a segment boundary, query equal when the
//   advertiser has one); else "Page Cannot be Found" when the lowered bytes
//   hold "page cannot be found" or "404 not found" after the first byte;
//   else "Link Not Found".
// Reads JSON lines {advertiser, page, file}; prints one result per line.
import { readFileSync } from 'node:fs';
import { createInterface } from 'node:readline';
import { parse } from 'parse5';

const HTML = 'http://www.w3.org/1999/xhtml';
const SVG = 'http://www.w3.org/2000/svg';
const XLINK = 'http://www.w3.org/1999/xlink';

function canonicalPath(path) {
    const decoded = path.replace(/%([0-9A-Fa-f]{2})/g, (m, h) => {
        const c = String.fromCharCode(parseInt(h, 16));
        return /[A-Za-z0-9\-._~]/.test(c) ? c : '%' + h.toUpperCase();
    });
    return decoded.toLowerCase().replace(/\/+$/, '');
}

function parts(url) {
    let host = url.hostname.replace(/\.$/, '');
    if (host.startsWith('www.') && host.length > 4) host = host.slice(4);
    return { host, port: url.port, path: canonicalPath(url.pathname), search: url.search };
}

function advertiserOf(typed) {
    const text = typed.trim();
    return parts(new URL(text.includes('://') ? text : 'http://' + text));
}

function pointsTo(adv, url) {
    if (url.protocol !== 'http:' && url.protocol !== 'https:') return false;
    const p = parts(url);
    if (p.host !== adv.host || p.port !== adv.port) return false;
    const pathOk = adv.path === '' || p.path === adv.path || p.path.startsWith(adv.path + '/');
    return pathOk && (adv.search === '' || p.search === adv.search);
}

// The value of the attribute name in namespace ('' for none), or undefined.
function attribute(node, name, namespace = '') {
    for (const a of node.attrs || []) {
        if (a.name === name && (a.namespace || '') === namespace) return a.value;
    }
    return undefined;
}

function* elements(node) {
    for (const child of node.childNodes || []) {
        if (child.tagName !== undefined) {
            yield child;
            yield* elements(child);  // template contents live in child.content: not walked
        }
    }
}

function judge(advertiserTyped, pageAddress, bytes) {
    const adv = advertiserOf(advertiserTyped);
    const text = bytes.toString('utf8');
    const doc = parse(text, { scriptingEnabled: true });
    let base = pageAddress;
    for (const el of elements(doc)) {
        if (el.namespaceURI === HTML && el.tagName === 'base') {
            const href = attribute(el, 'href');
            if (href !== undefined) {
                try { base = new URL(href, pageAddress).href; } catch { /* stays */ }
                break;
            }
        }
    }
    for (const el of elements(doc)) {
        let href;
        if (el.namespaceURI === HTML && (el.tagName === 'a' || el.tagName === 'area')) {
            href = attribute(el, 'href');
        } else if (el.namespaceURI === SVG && el.tagName === 'a') {
            // SVG 2: href wins over xlink:href.
            href = attribute(el, 'href');
            if (href === undefined) href = attribute(el, 'href', XLINK);
        }
        if (href === undefined) continue;
        let url;
        try { url = new URL(href, base); } catch { continue; }
        if (pointsTo(adv, url)) return 'Link Found';
    }
    const lowered = bytes.toString('latin1').toLowerCase();
    for (const phrase of ['page cannot be found', '404 not found']) {
        if (lowered.indexOf(phrase, 1) > 0) return 'Page Cannot be Found';
    }
    return 'Link Not Found';
}

const lines = createInterface({ input: process.stdin });
for await (const line of lines) {
    if (!line.trim()) continue;
    const c = JSON.parse(line);
    console.log(judge(c.advertiser, c.page, readFileSync(c.file)));
}
