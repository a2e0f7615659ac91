-- A damaged file: a folder inside itself and a menu root that is its own child end without looping.
INSERT INTO moz_places (id, url, title, guid) VALUES (1, 'https://loop.example/', 'Loop', 'place0000001');
INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded, lastModified, guid) VALUES
  (10, 2, NULL, 10, 0, 'Self', 0, 0, 'folder000010'),
  (11, 2, NULL, 2, 0, 'Loop folder', 0, 0, 'folder000011'),
  (12, 1, 1, 11, 0, 'In the loop', 0, 0, 'bookmark0012'),
  (13, 2, NULL, 11, 1, 'Back up', 0, 0, 'folder000013');
UPDATE moz_bookmarks SET parent = 13 WHERE id = 11;
UPDATE moz_bookmarks SET parent = 2 WHERE id = 13;
UPDATE moz_bookmarks SET parent = 2 WHERE id = 2;
